#include "transfer/ReportTransferError.h"

#include "winframe/TextHelpers.h"

int ReportTransferError(HWND parent, const std::wstring& source, const std::wstring& target,
                        bool multiple, bool isCopy) {
    DWORD error = GetLastError();
    wchar_t* systemText = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM,
                                  nullptr, error, 0x0409, reinterpret_cast<LPWSTR>(&systemText),
                                  256, nullptr);
    if (length == 0 || !systemText) return -1;

    const wchar_t* suffix = multiple ? L"\nWould you like Wendrift to continue with the next file?"
                                     : L"";
    UINT style = multiple ? (MB_YESNO | MB_ICONERROR) : MB_ICONERROR;
    int answer = ShowFormattedMessage(
        parent, L"Wendrift : ERROR", style,
        L"While attempting to %s:\n\n%s\n\nto\n\n%s\n\nThe following error occurred:\n\n%s%s",
        isCopy ? L"copy" : L"move", source.c_str(), target.c_str(), systemText, suffix);
    LocalFree(systemText);
    return answer;
}
