// Every registry key and value the options program edits. The game and its screen-saver service
// read the same values, so names, types and encodings stay exactly as they are stored.
#pragma once

#include <windows.h>

// --- Keys: all under HKEY_LOCAL_MACHINE, opened with the create and flush flags set ----------
inline const HKEY kSchemaRoot = HKEY_LOCAL_MACHINE;
inline constexpr const wchar_t kSettingsKeyPath[] = L"SOFTWARE\\Varnholt\\BrumvaleService\\Settings";
inline constexpr const wchar_t kExceptionsKeyPath[] = L"SOFTWARE\\Varnholt\\BrumvaleService\\Exceptions";
inline constexpr const wchar_t kGameKeyPath[] = L"SOFTWARE\\Varnholt\\Brumvale VGA";

// --- Settings key --------------------------------------------------------------------------
// REG_DWORD, bit field of the screen saver's switches (kMode... below); absent: the default is
// written back at once.
inline constexpr const wchar_t kValueScreenSaverMode[] = L"propNameScreenSaverMode";
// REG_DWORD, idle seconds before the screen saver starts; absent: the default is written back.
inline constexpr const wchar_t kValueScreenSaverTimeout[] = L"propNameScreenSaverTimeout";
// REG_DWORD, bit 0: phone edition support; absent: read as the default, nothing written.
inline constexpr const wchar_t kValueGameMode[] = L"propNameGameMode";

// Bits of the mode; every writer carries the other bits through unchanged.
inline constexpr DWORD kModeAcPowerOnly = 0x02;         // start only on AC power
inline constexpr DWORD kModeNotWhileFullScreen = 0x04;  // not while a full-screen program is active
inline constexpr DWORD kModeDisabled = 0x10;            // the screen saver is switched off
inline constexpr DWORD kModeIslandLives = 0x100;        // the island earns and ruins while saving the screen

// Switched on, AC power only, not over a full-screen program, the island at rest.
inline constexpr DWORD kDefaultScreenSaverMode = kModeAcPowerOnly | kModeNotWhileFullScreen;
static_assert(kDefaultScreenSaverMode == 6);
inline constexpr DWORD kDefaultScreenSaverTimeout = 120;
// The Screen Saver page never stores a shorter timeout.
inline constexpr DWORD kMinimumScreenSaverTimeout = 10;

inline constexpr DWORD kGameModePhoneEdition = 0x01;
inline constexpr DWORD kDefaultGameMode = kGameModePhoneEdition;

// --- Exceptions key ------------------------------------------------------------------------
// One REG_SZ per excepted program (its file name without folder), named by its index in three
// characters padded with spaces: the first is "  0". An empty key means no exceptions.
inline constexpr const wchar_t kExceptionNameFormat[] = L"%3d";

// --- Game key ------------------------------------------------------------------------------
// REG_SZ, folder of the screen-saver clock's skin; absent or empty: the default skin.
inline constexpr const wchar_t kValueTimeSkin[] = L"time_skin";
// REG_DWORD 0 to 64, the game's own volumes; written only by the game.
inline constexpr const wchar_t kValueSoundVol[] = L"sound_vol";
inline constexpr const wchar_t kValueMusicVol[] = L"music_vol";
// REG_DWORD 0 to 64, volumes while the game runs as screen saver; absent: the game's own
// volume, and failing that the default.
inline constexpr const wchar_t kValueSsSoundVol[] = L"ss_sound_vol";
inline constexpr const wchar_t kValueSsMusicVol[] = L"ss_music_vol";
inline constexpr DWORD kDefaultVolume = 50;
// REG_SZ, full path of the saved island copy the screen saver shows; absent: it shows the
// current game state.
inline constexpr const wchar_t kValueSsUserSettings[] = L"SS_UserSettings";
// The saved island copy's file name, in the folder of the game's saved-state file.
inline constexpr const wchar_t kSavedIslandFileName[] = L"SS_Settings.ino";
// REG_SZ, full path of the game's current saved-state file; written only by the game.
inline constexpr const wchar_t kValueUserSettings[] = L"UserSettings";
