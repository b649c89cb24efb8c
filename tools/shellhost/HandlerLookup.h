// Finds the context-menu handlers the shell would load for a file, the way the shell does:
// HKCR\<ext> (default) names the file type, and every key under
// HKCR\<type>\shellex\ContextMenuHandlers holds a class identifier as its default value (or is
// named by one).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct HandlerEntry {
    std::wstring name;       // the key name under ContextMenuHandlers
    std::wstring classText;  // as stored
    CLSID classId;
};

struct HandlerLookup {
    std::wstring extension;  // of the file name, with its dot
    std::wstring fileType;   // empty when HKCR\<ext> has none
    std::vector<HandlerEntry> handlers;
    std::wstring problem;    // why nothing was found, for the user
};

HandlerLookup FindContextMenuHandlers(const std::wstring& path);
