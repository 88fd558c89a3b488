#include "dialogs/AdvancedOptionsDialog.h"

#include <string>

#include "app/base/Help.h"
#include "resources/resource.h"
#include "settings/RegistryKey.h"
#include "settings/Schema.h"
#include "toolkit/ControlHook.h"
#include "toolkit/StringResource.h"
#include "toolkit/ToolkitFonts.h"

namespace {
constexpr int kMaxVolume = 64;

// The island button always offers the state the screen saver is not in.
constexpr wchar_t kSaveIslandText[] = L"Save current island and use this copy in screen saver. ";
constexpr wchar_t kUseCurrentIslandText[] = L"Use current island in screen saver. (Will show current game state)";

constexpr wchar_t kIslandSavedMessage[] =
    L"Your current island is now saved and will be used as screen saver island.\n"
    L"Now game play will have no effect on screen saver state.";
constexpr wchar_t kCurrentIslandMessage[] = L"Now in screen saver you can see your current island.";
constexpr wchar_t kIslandNotSavedMessage[] =
    L"Error saving current island for screen saver.\nMaybe you never run QovBrumvale or game is active now.";

// The first of the values that is stored, else the default volume. Reads write nothing.
DWORD ReadVolume(CRegistryKey& key, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names) {
        const DWORD dwVolume = key.ReadDword(name, REGKEY_NO_DEFAULT);
        if (dwVolume != REGKEY_NO_DEFAULT) return dwVolume;
    }
    return kDefaultVolume;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

BEGIN_MESSAGE_MAP(CAdvancedOptionsDialog, COptionDialog)
    ON_BN_CLICKED(IDC_ADV_LIVING_ISLAND, OnLivingIslandChanged)
    ON_BN_CLICKED(IDC_ADV_SAVE_ISLAND, OnSaveIsland)
    ON_BN_CLICKED(IDC_ADV_DEFAULT_VOLUME, OnDefaultVolume)
END_MESSAGE_MAP()

CAdvancedOptionsDialog::CAdvancedOptionsDialog()
    : COptionDialog(IDD_ADVANCED_OPTIONS, nullptr, LoadStringResource(IDS_ADVANCED_TITLE), kHelpAdvancedOptions) {}

void CAdvancedOptionsDialog::DoDataExchange(CDataExchange* pDX) {
    COptionDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ADV_DEFAULT_VOLUME, m_defaultVolumeButton);
    DDX_Control(pDX, IDC_ADV_SAVE_ISLAND, m_saveIslandButton);
    DDX_Control(pDX, IDC_ADV_MUSIC_SLIDER, m_musicSlider);
    DDX_Control(pDX, IDC_ADV_SOUND_SLIDER, m_soundSlider);
    DDX_Control(pDX, IDC_ADV_LIVING_ISLAND, m_livingIslandBox);
    DDX_Check(pDX, IDC_ADV_LIVING_ISLAND, m_bLivingIsland);
}

BOOL CAdvancedOptionsDialog::OnInitDialog() {
    if (!COptionDialog::OnInitDialog()) return FALSE;
    ApplyToolkitFonts(m_hWnd);

    if (m_pdwMode != nullptr) m_bLivingIsland = (*m_pdwMode & kModeIslandLives) != 0;

    // The screen saver's own volumes, else the game's, else the default.
    CRegistryKey key(kSchemaRoot, kGameKeyPath, TRUE, TRUE);
    const DWORD dwSound = ReadVolume(key, {kValueSsSoundVol, kValueSoundVol});
    const DWORD dwMusic = ReadVolume(key, {kValueSsMusicVol, kValueMusicVol});

    // A saved copy counts only while its file is there.
    const std::wstring copy = key.ReadString(kValueSsUserSettings);
    m_bIslandCopyInUse = !copy.empty() && FileExists(copy);
    m_saveIslandButton.SetWindowText(m_bIslandCopyInUse ? kUseCurrentIslandText : kSaveIslandText);

    for (CSliderCtrl* pSlider : {&m_soundSlider, &m_musicSlider}) pSlider->SetRange(0, kMaxVolume);
    m_soundSlider.SetPos(static_cast<int>(dwSound));
    m_musicSlider.SetPos(static_cast<int>(dwMusic));

    UpdateData(FALSE);
    HookControls({&m_livingIslandBox, &m_musicSlider, &m_soundSlider, &m_saveIslandButton, &m_defaultVolumeButton});
    OnLivingIslandChanged();
    return TRUE;
}

// A living island changes the saved state all the time: saving a copy of it makes no sense.
void CAdvancedOptionsDialog::OnLivingIslandChanged() {
    UpdateData(TRUE);
    m_saveIslandButton.EnableWindow(!m_bLivingIsland);
    m_saveIslandButton.ShowWindow(m_bLivingIsland ? SW_HIDE : SW_SHOW);
}

// Takes effect at once, not with OK.
void CAdvancedOptionsDialog::OnSaveIsland() {
    if (m_bIslandCopyInUse)
        UseCurrentIsland();
    else
        SaveIslandCopy();
}

// The copy's file stays on disk; a later save overwrites it.
void CAdvancedOptionsDialog::UseCurrentIsland() {
    CRegistryKey key(kSchemaRoot, kGameKeyPath, TRUE, TRUE);
    key.DeleteValue(kValueSsUserSettings);
    m_saveIslandButton.SetWindowText(kSaveIslandText);
    m_bIslandCopyInUse = FALSE;
    AfxMessageBox(kCurrentIslandMessage, MB_OK | MB_ICONINFORMATION);
}

// The game's saved state is copied beside itself; on any failure nothing changes.
void CAdvancedOptionsDialog::SaveIslandCopy() {
    CRegistryKey key(kSchemaRoot, kGameKeyPath, TRUE, TRUE);
    const std::wstring source = key.ReadString(kValueUserSettings);
    const size_t slash = source.rfind(L'\\');
    if (source.empty() || !FileExists(source) || slash == std::wstring::npos) {
        AfxMessageBox(kIslandNotSavedMessage, MB_OK | MB_ICONERROR);
        return;
    }
    const std::wstring destination = source.substr(0, slash + 1) + kSavedIslandFileName;
    if (!::CopyFileW(source.c_str(), destination.c_str(), FALSE)) {
        AfxMessageBox(kIslandNotSavedMessage, MB_OK | MB_ICONERROR);
        return;
    }
    key.WriteString(kValueSsUserSettings, destination.c_str());
    m_bIslandCopyInUse = TRUE;
    AfxMessageBox(kIslandSavedMessage, MB_OK | MB_ICONINFORMATION);
    m_saveIslandButton.SetWindowText(kUseCurrentIslandText);
}

// The game's own volumes, shown only: nothing is stored before OK.
void CAdvancedOptionsDialog::OnDefaultVolume() {
    CRegistryKey key(kSchemaRoot, kGameKeyPath, TRUE, TRUE);
    m_soundSlider.SetPos(static_cast<int>(ReadVolume(key, {kValueSoundVol})));
    m_musicSlider.SetPos(static_cast<int>(ReadVolume(key, {kValueMusicVol})));
}

// The island bit goes to the opener's word, stored with the page; the volumes are stored here.
void CAdvancedOptionsDialog::OnOK() {
    UpdateData(TRUE);
    if (m_pdwMode != nullptr)
        *m_pdwMode = m_bLivingIsland ? (*m_pdwMode | kModeIslandLives) : (*m_pdwMode & ~kModeIslandLives);
    CRegistryKey key(kSchemaRoot, kGameKeyPath, TRUE, TRUE);
    key.WriteDword(kValueSsSoundVol, static_cast<DWORD>(m_soundSlider.GetPos()));
    key.WriteDword(kValueSsMusicVol, static_cast<DWORD>(m_musicSlider.GetPos()));
    EndDialog(IDOK);
}
