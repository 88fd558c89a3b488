// "Screen Saver Options": the game's volumes while it runs as screen saver, whether the island
// lives on meanwhile, and which island the screen saver shows (the game's current state or a
// copy saved on request).
#pragma once

#include "app/base/OptionDialog.h"

class CAdvancedOptionsDialog : public COptionDialog {
public:
    // Owned by the application's main window, the options sheet.
    CAdvancedOptionsDialog();
    ~CAdvancedOptionsDialog() override = default;

    // The opener's copy of the screen saver's mode word, whose island bit the box edits; set
    // before the dialog runs, or left null: the box then starts cleared and edits nothing.
    DWORD* m_pdwMode = nullptr;

protected:
    CButton m_defaultVolumeButton;
    CButton m_saveIslandButton;  // its text offers the island copy's other state
    CSliderCtrl m_musicSlider;
    CSliderCtrl m_soundSlider;
    CButton m_livingIslandBox;
    int m_bLivingIsland = FALSE;     // the box's check state
    BOOL m_bIslandCopyInUse = TRUE;  // the screen saver shows a saved copy of the island

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnLivingIslandChanged();
    void OnSaveIsland();
    void OnDefaultVolume();
    DECLARE_MESSAGE_MAP()

private:
    void SaveIslandCopy();
    void UseCurrentIsland();
};
