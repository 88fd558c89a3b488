// The start-up baselines: a bare property sheet on the program's page templates doing their work
// with plain calls (bench/BareWindows.h), or, built with BARE_SHEET_EMPTY, three empty pages
// doing nothing.
#include <windows.h>

#include <commctrl.h>

#include "bench/BareWindows.h"

#ifdef BARE_SHEET_EMPTY
constexpr BOOL kWork = FALSE;
#else
constexpr BOOL kWork = TRUE;
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    RunBareSheet(0, kWork);
    return 0;
}
