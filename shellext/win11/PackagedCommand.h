// Whether the Windows 11 first menu is showing the packages' commands right now, for this user.
// Windows 11 also lists those commands under "Show more options", so the classic handler then
// adds nothing there: each menu shows Wendrift once. But a registered package is no proof that
// Explorer shows it (not before Explorer restarts, never with the classic menu restored or in
// another file manager, and each entry is a package of its own that may be missing), so the
// classic handler stays away only on sightings: both entries' GetState showed them for this same
// selection moments ago.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The first menu's entries, each a package of its own, each sighted on its own.
enum class PackagedEntry { Copy = 0, Move = 1 };
constexpr int kPackagedEntries = 2;

// An entry's last showing in this session: when (GetTickCount) and for which selection
// (SelectionFingerprint; 0 when it never showed).
struct PackagedMenuSighting {
    DWORD tick = 0;
    uint32_t selection = 0;
};

// How long a sighting speaks for a classic menu of the same selection: time to look at the first
// menu and pick "Show more options".
constexpr DWORD kSightingLifetimeMs = 60000;

// Which files a selection holds, by their full paths, whatever their order and letter case
// (A to Z). Never 0.
uint32_t SelectionFingerprint(const std::vector<std::wstring>& paths);

// The decision, from the facts: the classic menu stays away only when the last sighting of
// every entry is of this selection, at most kSightingLifetimeMs before `now`, and the user has
// not restored the classic menu. classicMenuRestored reads the registry, so it is asked only when
// the sightings would keep the menu away.
bool ClassicMenuStaysAway(const PackagedMenuSighting (&last)[kPackagedEntries], DWORD now,
                          uint32_t selection, bool (*classicMenuRestored)());

// A packaged command's GetState, when it shows its entry for these items (full paths; none
// records nothing).
void RecordPackagedMenuSighting(PackagedEntry entry, const std::vector<std::wstring>& paths);

// The classic handler's question for its selection (full paths), from the shared sightings and
// the user's classic-menu override.
bool PackagedCommandsShowing(const std::vector<std::wstring>& paths);

// Whether the user restored the classic menu with the well-known per-user override: an
// InprocServer32 key of the Windows 11 menu's class under HKCU\Software\Classes without a
// server path.
bool ClassicMenuRestored();
