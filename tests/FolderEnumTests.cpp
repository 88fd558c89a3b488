// Folder enumeration as the handheld gives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/FolderEnum.h"

// A missing folder gives FALSE without a visit; a visit that throws still closes the search,
// else the folder could not move.
TEST(FolderEnum, SearchesAreAlwaysClosed) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / L"brumvale-search";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / L"a.exe").put('x');
    const auto none = [](const WIN32_FIND_DATAW&) { ADD_FAILURE(); };
    EXPECT_THROW(ForEachFolderEntry(dir.wstring() + L"\\*", [](const WIN32_FIND_DATAW&) { throw 1; }), int);
    const std::wstring moved = dir.wstring() + L"-moved";
    EXPECT_TRUE(::MoveFileW(dir.c_str(), moved.c_str()) && ::MoveFileW(moved.c_str(), dir.c_str()));
    EXPECT_FALSE(ForEachFolderEntry(dir.wstring() + L"\\Missing\\*", none));
    std::filesystem::remove_all(dir);
}
