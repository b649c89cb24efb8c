// wendrift-store: associates an extension with directories from the command line, through the
// same store and registration functions the configuration program uses. Used by the README's
// demonstration and by tests that need associations without driving dialogs.
//
//   wendrift-store add <.ext> <directory>...   register the handler for .ext and store the directories
//   wendrift-store list                        print every extension with its directories
//   wendrift-store remove <.ext>               unregister the handler and delete the extension
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Usage() {
    fwprintf(stderr,
             L"usage: wendrift-store add <.ext> <directory>...\n"
             L"       wendrift-store list\n"
             L"       wendrift-store remove <.ext>\n");
    return 2;
}

int Add(int argc, wchar_t** argv) {
    if (argc < 3) return Usage();
    std::wstring extension = argv[2];
    if (!RegisterExtension(extension, true) || !AddExtension(extension)) {
        fwprintf(stderr, L"could not register %ls\n", extension.c_str());
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        if (!AssociateDirectory(extension, argv[i])) {
            fwprintf(stderr, L"could not store %ls\n", argv[i]);
            return 1;
        }
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return 0;
}

int List() {
    std::vector<std::wstring> extensions;
    ListExtensions(extensions);
    for (const std::wstring& extension : extensions) {
        wprintf(L"%ls\n", extension.c_str());
        std::wstring directory;
        while (NextDirectory(extension, directory)) wprintf(L"    %ls\n", directory.c_str());
    }
    return 0;
}

int Remove(int argc, wchar_t** argv) {
    if (argc != 3) return Usage();
    std::wstring extension = argv[2];
    bool unregistered = RegisterExtension(extension, false);
    bool removed = RemoveExtension(extension);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return unregistered && removed ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    std::wstring command = argv[1];
    if (command == L"add") return Add(argc, argv);
    if (command == L"list") return List();
    if (command == L"remove") return Remove(argc, argv);
    return Usage();
}
