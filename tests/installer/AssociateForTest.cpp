// associate-for-test <.ext> <directory>...: saves an association the way the configuration
// program does (the handler hooked in first, then the store), without driving its dialogs.
#include "store/AssociationStore.h"
#include "store/ShellRegistrar.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        fwprintf(stderr, L"usage: associate-for-test <.ext> <directory>...\n");
        return 2;
    }
    std::wstring extension = argv[1];
    if (!RegisterExtension(extension, true) || !AddExtension(extension)) return 1;
    for (int i = 2; i < argc; ++i) {
        if (!AssociateDirectory(extension, argv[i])) return 1;
    }
    return 0;
}
