#include "shellext/classic/DropList.h"

#include <shlobj.h>

#include <climits>
#include <cstring>
#include <utility>

namespace {

std::wstring Widen(const char* text, size_t length) {
    if (length == 0 || length > INT_MAX) return std::wstring();
    int units = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &wide[0], units);
    return wide;
}

// Units are read with memcpy: the record's offset need not keep wide text aligned.
template <typename Unit>
Unit UnitAt(const BYTE* list, size_t index) {
    Unit unit;
    std::memcpy(&unit, list + index * sizeof(Unit), sizeof(Unit));
    return unit;
}

template <typename Unit>
size_t ReadPaths(const BYTE* list, size_t count, std::vector<std::wstring>& paths) {
    size_t added = 0;
    size_t at = 0;
    // The list ends at an empty path, or where the block ends.
    while (at < count && UnitAt<Unit>(list, at) != 0) {
        size_t start = at;
        while (at < count && UnitAt<Unit>(list, at) != 0) ++at;
        if (at == count) break;  // cut off by the end of the block: not a whole path
        size_t length = at - start;
        if (sizeof(Unit) == sizeof(wchar_t)) {
            std::wstring path(length, L'\0');
            std::memcpy(&path[0], list + start * sizeof(Unit), length * sizeof(wchar_t));
            paths.push_back(std::move(path));
        } else {
            paths.push_back(Widen(reinterpret_cast<const char*>(list + start), length));
        }
        ++added;
        ++at;  // past the terminator
    }
    return added;
}

}  // namespace

size_t ReadDropList(const void* block, SIZE_T bytes, std::vector<std::wstring>& paths) {
    if (block == nullptr || bytes < sizeof(DROPFILES)) return 0;
    DROPFILES header;
    std::memcpy(&header, block, sizeof(header));
    if (header.pFiles >= bytes) return 0;
    const BYTE* list = static_cast<const BYTE*>(block) + header.pFiles;
    size_t listBytes = bytes - header.pFiles;
    if (header.fWide) {
        return ReadPaths<wchar_t>(list, listBytes / sizeof(wchar_t), paths);
    }
    return ReadPaths<char>(list, listBytes, paths);
}

size_t ReadDropList(HGLOBAL drop, std::vector<std::wstring>& paths) {
    if (drop == nullptr) return 0;
    SIZE_T bytes = GlobalSize(drop);
    const void* block = GlobalLock(drop);
    if (block == nullptr) return 0;
    size_t added = 0;
    try {
        added = ReadDropList(block, bytes, paths);
    } catch (...) {
        GlobalUnlock(drop);
        throw;
    }
    GlobalUnlock(drop);
    return added;
}
