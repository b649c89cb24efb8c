#include "shellext/entry/Uninstall.h"

#include "store/AssociationStore.h"
#include "store/PickerMemory.h"
#include "store/ShellRegistrar.h"
#include "winframe/TextHelpers.h"

#include <string>
#include <vector>

extern "C" int __cdecl Uninstall(void) {
    int count = 0;
    // An export: nothing may escape it. A failure midway answers what was done so far.
    try {
        std::vector<std::wstring> extensions;
        ListExtensions(extensions);
        for (const std::wstring& extension : extensions) {
            if (!RegisterExtension(extension, false)) {
                ShowFormattedMessage(
                    GetForegroundWindow(), L"Wendrift Uninstall : ERROR", MB_ICONERROR,
                    L"An error occurred while unregistering the file type [%s]. Either this file "
                    L"type is not currently registered, or you may need to manually remove the "
                    L"registry entries.",
                    extension.c_str());
            }
            // Gone from the store whatever the registry said: the user asked for everything.
            RemoveExtension(extension);
            ++count;
        }
        // The "Other folder..." picker's last folders and check box go with the associations.
        ForgetPickerMemory();
    } catch (...) {
    }
    return count;
}
