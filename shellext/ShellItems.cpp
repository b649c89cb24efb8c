#include "shellext/ShellItems.h"

#include "shellext/CommandRules.h"

bool ReadShellItems(IShellItemArray* items, std::vector<std::wstring>& paths, bool& allFiles) {
    paths.clear();
    allFiles = true;
    if (items == nullptr) return true;
    DWORD count = 0;
    if (FAILED(items->GetCount(&count))) return false;
    paths.reserve(count);
    for (DWORD i = 0; i < count && allFiles; ++i) {
        IShellItem* item = nullptr;
        if (FAILED(items->GetItemAt(i, &item))) return false;
        SFGAOF attributes = 0;
        // S_FALSE only says that not every asked attribute is set: the value is still right.
        wchar_t* path = nullptr;
        if (FAILED(item->GetAttributes(kFileItemAttributes, &attributes)) ||
            !IsFileSystemFile(attributes) ||
            FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            allFiles = false;
        } else {
            try {
                paths.emplace_back(path);
            } catch (...) {
                CoTaskMemFree(path);
                item->Release();
                throw;
            }
            CoTaskMemFree(path);
        }
        item->Release();
    }
    return true;
}
