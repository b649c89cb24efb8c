#include "CommandKit.h"

#include <shlobj.h>

namespace commandkit {

IShellItemArray* ItemsFor(const std::vector<std::wstring>& paths) {
    std::vector<PIDLIST_ABSOLUTE> ids;
    bool parsed = true;
    for (const std::wstring& path : paths) {
        PIDLIST_ABSOLUTE id = nullptr;
        parsed = parsed && SUCCEEDED(SHParseDisplayName(path.c_str(), nullptr, &id, 0, nullptr));
        if (id != nullptr) ids.push_back(id);
    }
    IShellItemArray* items = nullptr;
    if (parsed && FAILED(SHCreateShellItemArrayFromIDLists(
                      static_cast<UINT>(ids.size()),
                      const_cast<PCIDLIST_ABSOLUTE_ARRAY>(ids.data()), &items))) {
        items = nullptr;
    }
    for (PIDLIST_ABSOLUTE id : ids) CoTaskMemFree(id);
    return items;
}

IExplorerCommand* CreateCommand(const CLSID& classId) {
    IExplorerCommand* command = nullptr;
    if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IExplorerCommand,
                                reinterpret_cast<void**>(&command)))) {
        return nullptr;
    }
    return command;
}

std::vector<IExplorerCommand*> Flyout(IExplorerCommand* command) {
    std::vector<IExplorerCommand*> commands;
    IEnumExplorerCommand* walk = nullptr;
    if (FAILED(command->EnumSubCommands(&walk))) return commands;
    IExplorerCommand* next = nullptr;
    while (walk->Next(1, &next, nullptr) == S_OK) commands.push_back(next);
    walk->Release();
    return commands;
}

void ReleaseAll(std::vector<IExplorerCommand*>& commands) {
    for (IExplorerCommand* command : commands) command->Release();
    commands.clear();
}

int JobFilesInTemp() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    WIN32_FIND_DATAW found;
    int count = 0;
    HANDLE find = FindFirstFileW((std::wstring(folder) + L"wdj*.tmp").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do ++count;
        while (FindNextFileW(find, &found));
        FindClose(find);
    }
    return count;
}

}  // namespace commandkit
