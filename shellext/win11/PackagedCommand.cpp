#include "shellext/win11/PackagedCommand.h"

#include "shellext/win11/SightingSlot.h"

namespace {

// The Windows 11 menu's class; a per-user InprocServer32 without a path hides it from COM, and
// Explorer then shows the classic menu.
const wchar_t kClassicMenuOverrideKey[] =
    L"Software\\Classes\\CLSID\\{86ca1aa0-34aa-4e8b-a509-50c905bae2a2}\\InprocServer32";

// A slot holds the tick in its upper half and the selection in its lower half, so that one
// interlocked store publishes both.
LONG64 Pack(const PackagedMenuSighting& sighting) {
    return static_cast<LONG64>((static_cast<uint64_t>(sighting.tick) << 32) | sighting.selection);
}

PackagedMenuSighting Unpack(LONG64 value) {
    PackagedMenuSighting sighting;
    sighting.tick = static_cast<DWORD>(static_cast<uint64_t>(value) >> 32);
    sighting.selection = static_cast<uint32_t>(value);
    return sighting;
}

uint32_t Mix(uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    return value ^ (value >> 16);
}

}  // namespace

uint32_t SelectionFingerprint(const std::vector<std::wstring>& paths) {
    uint32_t sum = 0;
    for (const std::wstring& path : paths) {
        uint32_t hash = 2166136261U;  // FNV-1a over the path, A..Z folded
        for (wchar_t unit : path) {
            if (unit >= L'A' && unit <= L'Z') unit = static_cast<wchar_t>(unit - L'A' + L'a');
            hash = (hash ^ unit) * 16777619U;
        }
        sum += Mix(hash);  // a sum, so that the order of the items does not count
    }
    uint32_t fingerprint = Mix(sum ^ static_cast<uint32_t>(paths.size()));
    return fingerprint != 0 ? fingerprint : 1;
}

bool ClassicMenuStaysAway(const PackagedMenuSighting (&last)[kPackagedEntries], DWORD now,
                          uint32_t selection, bool (*classicMenuRestored)()) {
    for (const PackagedMenuSighting& sighting : last) {
        if (sighting.selection == 0 || sighting.selection != selection) return false;
        // Unsigned: a tick count that wrapped around in between still subtracts right.
        if (now - sighting.tick > kSightingLifetimeMs) return false;
    }
    return !classicMenuRestored();
}

void RecordPackagedMenuSighting(PackagedEntry entry, const std::vector<std::wstring>& paths) {
    volatile LONG64* slots = SightingSlots();
    // No paths (a virtual item, or none) are no classic menu's selection either.
    if (slots == nullptr || paths.empty()) return;
    PackagedMenuSighting sighting;
    sighting.tick = GetTickCount();
    sighting.selection = SelectionFingerprint(paths);
    InterlockedExchange64(&slots[static_cast<int>(entry)], Pack(sighting));
}

bool PackagedCommandsShowing(const std::vector<std::wstring>& paths) {
    volatile LONG64* slots = SightingSlots();
    if (slots == nullptr) return false;
    PackagedMenuSighting last[kPackagedEntries];
    for (int i = 0; i < kPackagedEntries; ++i) {
        last[i] = Unpack(InterlockedCompareExchange64(&slots[i], 0, 0));
        if (last[i].selection == 0) return false;  // never shown: no need to fingerprint
    }
    return ClassicMenuStaysAway(last, GetTickCount(), SelectionFingerprint(paths),
                                ClassicMenuRestored);
}

bool ClassicMenuRestored() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kClassicMenuOverrideKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    // The override writes an empty default value; a key without one names no server either and
    // counts too, erring towards a menu shown twice rather than none.
    DWORD type = 0;
    DWORD bytes = 0;
    LONG result = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &bytes);
    RegCloseKey(key);
    return result == ERROR_FILE_NOT_FOUND ||
           (result == ERROR_SUCCESS && bytes <= sizeof(wchar_t));
}
