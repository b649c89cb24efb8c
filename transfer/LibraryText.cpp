#include "transfer/LibraryText.h"

#include "winframe/LibraryContext.h"

std::wstring LibraryText(UINT id) {
    // With a zero length the call hands out the resource itself, which is not terminated.
    const wchar_t* text = nullptr;
    int length = LoadStringW(LibraryModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}
