// "Screen Saver Exceptions": the programs during which the screen saver must not start. The
// list is read once when the dialog opens and written back whole on OK.
#pragma once

#include "app/base/OptionDialog.h"

class CExceptionsDialog : public COptionDialog {
public:
    // Owned by the application's main window, the options sheet.
    CExceptionsDialog();
    ~CExceptionsDialog() override = default;

protected:
    CListBox m_list;  // the working copy of the list, kept sorted by the list box

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnAdd();
    void OnRemove();
    void OnSize(UINT nType, int cx, int cy);
    void OnOK() override;

    DECLARE_MESSAGE_MAP()

private:
    void LoadList();
    void FocusList();
    void UpdateRemoveButton();
    void SaveList();
};
