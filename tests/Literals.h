// The program's fixed names and numbers, written down here as they are given, never taken from the program's own
// headers: a misspelt key or a wrong id there must fail the tests. Value names are written where they are used.
#pragma once

// The sheet's caption; the three keys, under HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kSheet[] = L"Qov Brumvale Options";
inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Varnholt\\BrumvaleService\\Settings";
inline constexpr wchar_t kExceptionsKey[] = L"SOFTWARE\\Varnholt\\BrumvaleService\\Exceptions";
inline constexpr wchar_t kGameKey[] = L"SOFTWARE\\Varnholt\\Brumvale VGA";

// Templates, strings and controls.
enum : int {
    kGamePageTemplate = 130, kSkinsPageTemplate = 131, kScreenSaverPageTemplate = 166,
    kGameTabText = 65033, kSkinsTabText = 65034, kCommandBar = 0xE800,
    kPhoneEditionBox = 1010,                             // Game page
    kSkinList = 1053,                                    // Skins page
    kEnableBox = 1000, kAcPowerBox = 1005, kFullScreenBox = 1006, kTimeoutLabel = 1008,  // Screen Saver page
    kExceptionsButton = 1009, kMoreOptionsButton = 1014, kTimeoutPlaceholder = 1058, kTimeoutPicker = 100,
    kExceptionList = 1053, kRemoveButton = 1054, kAddButton = 1055,  // exceptions dialog
    // advanced options
    kLivingIslandBox = 1007, kSaveIslandButton = 1012, kSoundSlider = 1013, kMusicSlider = 1014,
    kDefaultVolumeButton = 1016,
    kPickerTree = 1057,                                  // program picker
};
