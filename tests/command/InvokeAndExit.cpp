// command-invoke-for-test <file>...: what a surrogate may do at worst: create "Copy To", show
// it for the files, invoke its first folder, let go of everything and end the process at once.
// Exit code 0 once Invoke returned, 1 when the command would not show for the files.
#include "CommandKit.h"

#include "WendriftClassIds.h"

#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    CoInitialize(nullptr);
    std::vector<std::wstring> paths(argv + 1, argv + argc);
    IShellItemArray* items = commandkit::ItemsFor(paths);
    IExplorerCommand* command = commandkit::CreateCommand(kCopyCommandClassId);
    EXPCMDSTATE state = ECS_HIDDEN;
    if (items == nullptr || command == nullptr ||
        FAILED(command->GetState(items, TRUE, &state)) || state != ECS_ENABLED) {
        return 1;
    }
    std::vector<IExplorerCommand*> folders = commandkit::Flyout(command);
    HRESULT invoked = folders.empty() ? E_FAIL : folders[0]->Invoke(items, nullptr);
    commandkit::ReleaseAll(folders);
    command->Release();
    items->Release();
    ExitProcess(SUCCEEDED(invoked) ? 0 : 1);
}
