#include "shellext/common/TransferFailure.h"

void ReportTransferNotStarted(HWND owner) {
    MessageBoxW(owner, L"An internal error has occurred! Cannot continue.",
                L"Wendrift : FATAL ERROR", MB_ICONERROR);
}
