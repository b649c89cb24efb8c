// A host process for the replace tests to kill part-way: it replaces one file through the
// engine with the slow stand-in for the platform copy, and answers the question itself.
//
//   transfer_replace_host SOURCE DESTINATION_FOLDER
//
// Exit code 0 once the transfer has ended.
#include "TransferTestKit.h"
#include "UiDriver.h"

#include "transfer/StartTransfer.h"
#include "transfer/TransferResources.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    kit::InstallSlowStandIn(40);
    std::vector<DWORD> before = kit::Threads();
    if (!StartTransfer(nullptr, {argv[1]}, argv[2], true)) return 1;
    HWND question = kit::WaitForDialog(L"Confirm File Replace");
    if (!question) return 1;
    PostCommand(question, IDC_REPLACE_YES);
    return kit::WaitForNewThreadsToEnd(before, 60000) ? 0 : 1;
}
