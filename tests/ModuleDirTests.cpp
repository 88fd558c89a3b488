#include <gtest/gtest.h>

#include "app/ModuleDir.h"

TEST(ModuleDir, CutsAfterTheLastBackslash) {
    const struct { const wchar_t* path; const wchar_t* dir; } cases[] = {
        {L"C:\\Program Files\\Brumvale\\QovBrumvaleOptions.exe", L"C:\\Program Files\\Brumvale\\"},
        {L"\\QovBrumvaleOptions.exe", L"\\"},                 // a file in the root
        {L"QovBrumvaleOptions.exe", L"QovBrumvaleOptions.exe"},  // no backslash: kept whole
        {L"", L""},
        {L"C:/mixed\\slashes/x.exe", L"C:/mixed\\"},  // only backslashes count
    };
    for (const auto& c : cases) EXPECT_EQ(ModuleDirFromPath(c.path), c.dir) << "path: " << c.path;
}
