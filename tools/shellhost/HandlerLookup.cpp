#include "tools/shellhost/HandlerLookup.h"

#include <shlwapi.h>

#include <objbase.h>

namespace {

bool ReadDefault(HKEY root, const std::wstring& path, std::wstring& out) {
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);  // room for a terminator of our own
    DWORD type = 0;
    if (RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ | RRF_NOEXPAND, &type, buffer,
                     &bytes) != ERROR_SUCCESS) {
        return false;
    }
    out.assign(buffer);
    return !out.empty();
}

}  // namespace

HandlerLookup FindContextMenuHandlers(const std::wstring& path) {
    HandlerLookup lookup;
    lookup.extension = PathFindExtensionW(path.c_str());
    if (lookup.extension.empty()) {
        lookup.problem = L"the file name has no extension, so the shell finds no file type";
        return lookup;
    }
    if (!ReadDefault(HKEY_CLASSES_ROOT, lookup.extension, lookup.fileType)) {
        lookup.problem = L"HKCR\\" + lookup.extension + L" names no file type";
        return lookup;
    }
    std::wstring handlersPath = lookup.fileType + L"\\shellex\\ContextMenuHandlers";
    HKEY handlers = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, handlersPath.c_str(), 0, KEY_READ, &handlers) !=
        ERROR_SUCCESS) {
        lookup.problem = L"HKCR\\" + handlersPath + L" does not exist";
        return lookup;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD units = 256;
        if (RegEnumKeyExW(handlers, index, name, &units, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        HandlerEntry entry;
        entry.name = name;
        if (!ReadDefault(handlers, name, entry.classText)) entry.classText = name;
        if (FAILED(CLSIDFromString(entry.classText.c_str(), &entry.classId))) continue;
        lookup.handlers.push_back(entry);
    }
    RegCloseKey(handlers);
    if (lookup.handlers.empty()) lookup.problem = L"HKCR\\" + handlersPath + L" lists no handler";
    return lookup;
}
