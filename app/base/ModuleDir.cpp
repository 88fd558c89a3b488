#include "app/base/ModuleDir.h"

std::wstring g_strModuleDir;

std::wstring ModuleDirFromPath(const std::wstring& modulePath) {
    size_t slash = modulePath.rfind(L'\\');
    return slash == std::wstring::npos ? modulePath : modulePath.substr(0, slash + 1);
}
