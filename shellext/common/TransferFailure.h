// The message shown when a picked command cannot start its transfer.
#pragma once

#include <windows.h>

// "An internal error has occurred! Cannot continue." under "Wendrift : FATAL ERROR".
void ReportTransferNotStarted(HWND owner);
