// Whether the Windows 11 first menu is showing the package's commands right now, for this user.
// Windows 11 also lists those commands under "Show more options", so the classic handler then
// adds nothing there: each menu shows Wendrift once. But a registered package is no proof that
// Explorer shows it (not before Explorer restarts, never with the classic menu restored or in
// another file manager), so the classic handler stays away only on a sighting: the packaged
// command's GetState asked about this same selection moments ago.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The last GetState of a packaged command in this session: when (GetTickCount) and for which
// selection (SelectionFingerprint; 0 when none was seen).
struct PackagedMenuSighting {
    DWORD tick = 0;
    uint32_t selection = 0;
};

// How long a sighting speaks for a classic menu of the same selection: time to look at the first
// menu and pick "Show more options".
constexpr DWORD kSightingLifetimeMs = 60000;

// Which files a selection holds, whatever their order and letter case, from their names or full
// paths (only the part after the last backslash counts). Never 0.
uint32_t SelectionFingerprint(const std::vector<std::wstring>& namesOrPaths);

// The decision, from the facts: the classic menu stays away only when the last sighting is of
// this selection, at most kSightingLifetimeMs before `now`, and the user has not restored the
// classic menu. classicMenuRestored reads the registry, so it is asked only when the sighting
// would keep the menu away.
bool ClassicMenuStaysAway(const PackagedMenuSighting& last, DWORD now, uint32_t selection,
                          bool (*classicMenuRestored)());

// The packaged command's GetState: records that the first menu asked about these items.
void RecordPackagedMenuSighting(const std::vector<std::wstring>& names);

// The classic handler's question for its selection (full paths), from the shared sighting and
// the user's classic-menu override.
bool PackagedCommandsShowing(const std::vector<std::wstring>& paths);

// Whether the user restored the classic menu with the well-known per-user override: an
// InprocServer32 key of the Windows 11 menu's class under HKCU\Software\Classes without a
// server path.
bool ClassicMenuRestored();
