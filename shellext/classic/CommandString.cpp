#include "shellext/classic/CommandString.h"

#include "texts/TextIds.h"
#include "winframe/Texts.h"

#include <shlobj.h>

#include <cstring>
#include <string>

namespace {

template <typename Unit>
void CopyCut(Unit* buffer, UINT cchMax, const Unit* text, size_t length) {
    std::memset(buffer, 0, cchMax * sizeof(Unit));
    size_t units = length < cchMax - 1 ? length : cchMax - 1;
    std::memcpy(buffer, text, units * sizeof(Unit));
}

std::string Narrow(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], bytes, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(bytes) - 1);
    return narrow;
}

}  // namespace

HRESULT AnswerCommandString(const MenuCommand* command, UINT type, char* buffer, UINT cchMax,
                            LANGID language) {
    bool unicode = (type & GCS_UNICODE) != 0;
    if ((type & ~GCS_UNICODE) == GCS_VALIDATEA) return command != nullptr ? S_OK : S_FALSE;
    if (command == nullptr) return E_FAIL;
    if (command->operation != kOperationCopy && command->operation != kOperationMove) return E_FAIL;
    if (buffer == nullptr) return E_POINTER;
    if (cchMax == 0) return E_FAIL;  // no room even for the terminator
    bool copy = command->operation == kOperationCopy;
    // The handler has no verbs of its own: verb requests get the help text as well.
    const std::wstring text =
        Text(language, command->picksFolder ? (copy ? IDS_COPY_PICK_HELP : IDS_MOVE_PICK_HELP)
                                            : (copy ? IDS_COPY_HELP : IDS_MOVE_HELP));
    if (unicode) {
        CopyCut(reinterpret_cast<wchar_t*>(buffer), cchMax, text.c_str(), text.size());
    } else {
        const std::string narrow = Narrow(text);
        CopyCut(buffer, cchMax, narrow.c_str(), narrow.size());
    }
    return S_OK;
}
