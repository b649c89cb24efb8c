#include "shellext/entry/Uninstall.h"

#include "store/AssociationStore.h"
#include "store/PickerMemory.h"
#include "store/ShellRegistrar.h"
#include "texts/TextIds.h"
#include "winframe/LanguageSetting.h"
#include "winframe/Languages.h"
#include "winframe/Texts.h"

#include <string>
#include <vector>

extern "C" int __cdecl Uninstall(void) {
    int count = 0;
    // An export: nothing may escape it. A failure midway answers what was done so far.
    try {
        // Read before the settings go: the messages speak the language they chose.
        const LANGID language = ChosenLanguage();
        std::vector<std::wstring> extensions;
        ListExtensions(extensions);
        for (const std::wstring& extension : extensions) {
            if (!RegisterExtension(extension, false)) {
                ShowTextMessage(GetForegroundWindow(), language, IDS_UNINSTALL_CAPTION, MB_ICONERROR,
                                IDS_UNREGISTER_FAILED, extension.c_str());
            }
            // Gone from the store whatever the registry said: the user asked for everything.
            RemoveExtension(extension);
            ++count;
        }
        // The "Other folder..." picker's last folders and check box, and the language, go with
        // the associations.
        ForgetPickerMemory();
        WriteLanguageSetting(std::wstring());
    } catch (...) {
    }
    return count;
}
