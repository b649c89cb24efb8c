#include "transfer/ReportTransferError.h"

#include "texts/TextIds.h"
#include "winframe/Languages.h"
#include "winframe/TextHelpers.h"
#include "winframe/Texts.h"

bool LookUpSystemMessage(DWORD error, DWORD language, std::wstring& text) {
    wchar_t* buffer = nullptr;
    // No arguments go with the look-up: texts with inserts ("%1") come as they are, instead of
    // failing or reading arguments that are not there.
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, language, reinterpret_cast<LPWSTR>(&buffer),
                                  256, nullptr);
    if (length == 0 || !buffer) return false;
    text.assign(buffer, length);
    LocalFree(buffer);
    return true;
}

std::wstring SystemErrorText(DWORD error, LANGID language, SystemMessageLookup lookup) {
    std::wstring text;
    // A Windows without English system messages still has its own.
    const DWORD order[] = {language, kEnglish, 0};
    // English is asked for once, in its place.
    for (size_t i = language == kEnglish ? 1 : 0; i < 3; ++i) {
        if (lookup(error, order[i], text) && !text.empty()) return text;
    }
    return FormatText(language, IDS_ERROR_NUMBER, error, error);
}

int ReportTransferError(HWND parent, const std::wstring& source, const std::wstring& target,
                        bool multiple, bool isCopy, LANGID language) {
    std::wstring systemText = SystemErrorText(GetLastError(), language);
    const std::wstring question = multiple ? Text(language, IDS_CONTINUE_QUESTION) : std::wstring();
    UINT style = multiple ? (MB_YESNO | MB_ICONERROR) : MB_ICONERROR;
    return ShowTextMessage(parent, language, IDS_ERROR_CAPTION, style,
                           isCopy ? IDS_COPY_FAILED : IDS_MOVE_FAILED, source.c_str(),
                           target.c_str(), systemText.c_str(), question.c_str());
}
