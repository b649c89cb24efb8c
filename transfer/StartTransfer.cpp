#include "transfer/StartTransfer.h"

// Placeholder until the transfer engine lands: reports that no transfer could be started.
bool StartTransfer(HWND, const std::vector<std::wstring>&, const std::wstring&, bool) {
    return false;
}
