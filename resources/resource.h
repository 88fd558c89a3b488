// Resource ids. The numbers are the program's own and never change.
#pragma once

// --- Program -------------------------------------------------------------------------------
#define IDI_APP                         101

// --- String table --------------------------------------------------------------------------
#define IDS_OPTIONS_TITLE               65002  // "Qov Brumvale Options": every page's header
#define IDS_EXCEPTIONS_TITLE            65003  // "Screen Saver Exceptions"
#define IDS_ADVANCED_TITLE              65004  // "Screen Saver Options"
#define IDS_SCREENSAVER_TAB             65030  // "Screen Saver"
#define IDS_SELECT_PROGRAM_TITLE        65032  // "Select Program"
#define IDS_GAME_TAB                    65033  // "Game"
#define IDS_SKINS_TAB                   65034  // "Skins"

// --- Game page -----------------------------------------------------------------------------
#define IDD_GAME_PAGE                   130
#define IDC_GAME_PHONE_EDITION          1010

// --- Skins page ----------------------------------------------------------------------------
#define IDD_SKINS_PAGE                  131
#define IDC_SKINS_LIST                  1053

// --- Screen Saver page ---------------------------------------------------------------------
#define IDD_SCREENSAVER_PAGE            166
#define IDC_SS_ENABLE                   1000
#define IDC_SS_AC_POWER_ONLY            1005
#define IDC_SS_NO_FULL_SCREEN           1006
#define IDC_SS_TIMEOUT_LABEL            1008
#define IDC_SS_EXCEPTIONS               1009
#define IDC_SS_MORE_OPTIONS             1014
#define IDC_SS_TIMEOUT_PLACEHOLDER      1058
#define IDC_SS_TIMEOUT_PICKER           100   // made at run time over the placeholder

// --- Screen Saver Exceptions dialog --------------------------------------------------------
#define IDD_EXCEPTIONS                  103
#define IDC_EXC_LIST                    1053
#define IDC_EXC_REMOVE                  1054
#define IDC_EXC_ADD                     1055

// --- Advanced options dialog ("Screen Saver Options") -------------------------------------
#define IDD_ADVANCED_OPTIONS            104
#define IDC_ADV_LIVING_ISLAND           1007
#define IDC_ADV_SAVE_ISLAND             1012
#define IDC_ADV_SOUND_SLIDER            1013
#define IDC_ADV_MUSIC_SLIDER            1014
#define IDC_ADV_DEFAULT_VOLUME          1016

// --- Program picker (OK and Cancel are IDOK and IDCANCEL) ----------------------------------
#define IDD_SELECT_FILE                 172
#define IDC_PICKER_TREE                 1057
#define IDB_PICKER_IMAGES               174   // 16 x 16 images on magenta: folder, program, two loudspeakers

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif
