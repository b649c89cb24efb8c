// Where the packaged commands' sightings meet the classic handler: one 64-bit slot per entry
// (PackagedEntry) in a small shared memory section named for this user, in this session's
// namespace ("Local\"). GetState
// runs in a surrogate process and the classic handler in Explorer, so the slot is shared across
// processes; memory costs one store per right-click where the registry would cost a call into
// the kernel each time (and a packaged process may write to a virtualised HKCU).
#pragma once

#include <windows.h>

// The kPackagedEntries slots, mapped on first use and kept for the life of the process (the
// library never unloads); null when the section could not be made, which reads as nothing ever
// seen.
volatile LONG64* SightingSlots();
