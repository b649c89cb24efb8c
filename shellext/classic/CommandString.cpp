#include "shellext/classic/CommandString.h"

#include <shlobj.h>

#include <cstring>

const char kCopyHelpTextA[] = "Copy here with Wendrift";
const wchar_t kCopyHelpTextW[] = L"Copy here with Wendrift";
const char kMoveHelpTextA[] = "Move here with Wendrift";
const wchar_t kMoveHelpTextW[] = L"Move here with Wendrift";
const char kCopyPickHelpTextA[] = "Choose a folder and copy there with Wendrift";
const wchar_t kCopyPickHelpTextW[] = L"Choose a folder and copy there with Wendrift";
const char kMovePickHelpTextA[] = "Choose a folder and move there with Wendrift";
const wchar_t kMovePickHelpTextW[] = L"Choose a folder and move there with Wendrift";

namespace {

template <typename Unit>
void CopyCut(Unit* buffer, UINT cchMax, const Unit* text, size_t length) {
    std::memset(buffer, 0, cchMax * sizeof(Unit));
    size_t units = length < cchMax - 1 ? length : cchMax - 1;
    std::memcpy(buffer, text, units * sizeof(Unit));
}

}  // namespace

HRESULT AnswerCommandString(const MenuCommand* command, UINT type, char* buffer, UINT cchMax) {
    bool unicode = (type & GCS_UNICODE) != 0;
    if ((type & ~GCS_UNICODE) == GCS_VALIDATEA) return command != nullptr ? S_OK : S_FALSE;
    if (command == nullptr) return E_FAIL;
    if (command->operation != kOperationCopy && command->operation != kOperationMove) return E_FAIL;
    if (buffer == nullptr) return E_POINTER;
    if (cchMax == 0) return E_FAIL;  // no room even for the terminator
    bool copy = command->operation == kOperationCopy;
    // The handler has no verbs of its own: verb requests get the help text as well.
    bool picks = command->picksFolder;
    if (unicode) {
        const wchar_t* text = picks ? (copy ? kCopyPickHelpTextW : kMovePickHelpTextW)
                                    : (copy ? kCopyHelpTextW : kMoveHelpTextW);
        CopyCut(reinterpret_cast<wchar_t*>(buffer), cchMax, text, wcslen(text));
    } else {
        const char* text = picks ? (copy ? kCopyPickHelpTextA : kMovePickHelpTextA)
                                 : (copy ? kCopyHelpTextA : kMoveHelpTextA);
        CopyCut(buffer, cchMax, text, strlen(text));
    }
    return S_OK;
}
