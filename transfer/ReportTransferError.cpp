#include "transfer/ReportTransferError.h"

#include "winframe/TextHelpers.h"

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

std::wstring SystemErrorText(DWORD error, SystemMessageLookup lookup) {
    std::wstring text;
    // A Windows without English system messages still has its own.
    for (DWORD language : {0x0409ul, 0ul}) {
        if (lookup(error, language, text) && !text.empty()) return text;
    }
    FormatString(text, L"Error %lu (0x%08lX)\r\n", error, error);
    return text;
}

int ReportTransferError(HWND parent, const std::wstring& source, const std::wstring& target,
                        bool multiple, bool isCopy) {
    std::wstring systemText = SystemErrorText(GetLastError());
    const wchar_t* suffix = multiple ? L"\nWould you like Wendrift to continue with the next file?"
                                     : L"";
    UINT style = multiple ? (MB_YESNO | MB_ICONERROR) : MB_ICONERROR;
    return ShowFormattedMessage(
        parent, L"Wendrift : ERROR", style,
        L"While attempting to %s:\n\n%s\n\nto\n\n%s\n\nThe following error occurred:\n\n%s%s",
        isCopy ? L"copy" : L"move", source.c_str(), target.c_str(), systemText.c_str(), suffix);
}
