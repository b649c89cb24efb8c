#include "LanguageValue.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

const wchar_t kKey[] = L"Software\\Wendrift";

void Write(const wchar_t* tag) {
    if (tag == nullptr) {
        SHDeleteValueW(HKEY_CURRENT_USER, kKey, L"Language");
        return;
    }
    SHSetValueW(HKEY_CURRENT_USER, kKey, L"Language", REG_SZ, tag,
                static_cast<DWORD>(wcslen(tag) * sizeof(wchar_t)));
}

}  // namespace

LanguageValue::LanguageValue(const wchar_t* tag) {
    wchar_t old[128] = {};
    DWORD bytes = sizeof(old) - sizeof(wchar_t);
    had_ = SHGetValueW(HKEY_CURRENT_USER, kKey, L"Language", nullptr, old, &bytes) == ERROR_SUCCESS;
    previous_ = old;
    Write(tag);
}

LanguageValue::~LanguageValue() { Write(had_ ? previous_.c_str() : nullptr); }
