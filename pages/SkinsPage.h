// The "Skins" tab: the look of the screen saver's clock, one of the skin folders installed
// beside the program or the built-in default, kept in time_skin.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/base/OptionPage.h"

class CSkinsPage : public COptionPage {
public:
    CSkinsPage();
    ~CSkinsPage() override = default;

protected:
    CListBox m_skinList;  // "Default skin" first, then the skins in the folder's order
    // Each skin's path, the item data of its entry; owned here, freed with the page or when
    // the list is filled again.
    std::vector<std::unique_ptr<std::wstring>> m_vecSkinPaths;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void FillSkinList();
};
