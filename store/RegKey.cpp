#include "store/RegKey.h"

#include <shlwapi.h>

#include <memory>
#include <new>
#include <vector>

namespace {
// One enumeration of each kind at a time per thread: two shell windows building menus at the
// same moment run on different threads and must not advance each other's listing.
thread_local DWORD valueCursor = 0;
thread_local DWORD subkeyCursor = 0;

constexpr DWORD kValueNameUnits = 16384;  // the registry's limit for value names, with the null
constexpr DWORD kSubkeyNameUnits = 256;   // the limit for key names, with the null
}  // namespace

RegKey::~RegKey() { Close(); }

bool RegKey::Open(HKEY root, const std::wstring& path, bool create) {
    Close();  // never leak a handle still held
    LONG status;
    if (create) {
        status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &handle_, nullptr);
    } else {
        status = RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &handle_);
    }
    if (status != ERROR_SUCCESS) {
        handle_ = nullptr;
        return false;
    }
    return true;
}

LONG RegKey::Close() {
    if (handle_ == nullptr) return ERROR_SUCCESS;
    LONG status = RegCloseKey(handle_);
    handle_ = nullptr;
    return status;
}

bool RegKey::QueryValue(const std::wstring& name, void* data, DWORD* bytes) {
    return RegQueryValueExW(handle_, name.c_str(), nullptr, nullptr, static_cast<BYTE*>(data),
                            bytes) == ERROR_SUCCESS;
}

bool RegKey::QueryString(const std::wstring& name, std::wstring& out) {
    DWORD bytes = 0;
    if (!QueryValue(name, nullptr, &bytes) || bytes == 0) return false;
    // Stored strings carry no terminator of their own: leave room for one.
    std::vector<wchar_t> buffer;
    try {
        buffer.assign(bytes / sizeof(wchar_t) + 2, L'\0');
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!QueryValue(name, buffer.data(), &bytes)) return false;
    size_t units = bytes / sizeof(wchar_t);
    size_t length = 0;
    while (length < units && buffer[length] != L'\0') ++length;
    out.assign(buffer.data(), length);
    return true;
}

bool RegKey::QueryDefaultString(std::wstring& out) { return QueryString(std::wstring(), out); }

bool RegKey::SetString(const std::wstring& name, const std::wstring& text) {
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    return RegSetValueExW(handle_, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

bool RegKey::SetDefaultString(const std::wstring& text) { return SetString(std::wstring(), text); }

bool RegKey::QueryDword(const std::wstring& name, DWORD& value) {
    DWORD type = 0;
    DWORD data = 0;
    DWORD bytes = sizeof(data);
    if (RegQueryValueExW(handle_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                         &bytes) != ERROR_SUCCESS ||
        type != REG_DWORD || bytes != sizeof(data)) {
        return false;
    }
    value = data;
    return true;
}

bool RegKey::SetDword(const std::wstring& name, DWORD value) {
    return RegSetValueExW(handle_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

bool RegKey::DeleteValue(const std::wstring& name) {
    return RegDeleteValueW(handle_, name.c_str()) == ERROR_SUCCESS;
}

bool RegKey::DeleteTree(HKEY root, const std::wstring& path) {
    return SHDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS;
}

LONG RegKey::ReadValueName(DWORD& index, std::wstring& name) const {
    // Only the length is used, so the buffer needs no zeroing.
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[kValueNameUnits]);
    for (;; ++index) {
        DWORD length = kValueNameUnits;  // the whole buffer: 16,383 units and the null
        LONG status = RegEnumValueW(handle_, index, buffer.get(), &length, nullptr, nullptr,
                                    nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;
        if (status == ERROR_SUCCESS) name.assign(buffer.get(), length);
        return status;
    }
}

bool RegKey::NextValueName(std::wstring& out) {
    DWORD index = valueCursor;
    LONG status = ReadValueName(index, out);
    if (status == ERROR_SUCCESS) {
        valueCursor = index + 1;
        return true;
    }
    if (status == ERROR_NO_MORE_ITEMS) out.clear();
    // Any false answer ends the listing; a cursor left in the middle would make the next
    // listing skip entries.
    valueCursor = 0;
    return false;
}

void RegKey::ResetValueCursor() { valueCursor = 0; }

bool RegKey::IsSingleKeyName(const std::wstring& name) {
    return !name.empty() && name.size() <= kMaxKeyName && name.find(L'\\') == std::wstring::npos &&
           name.find(L'\0') == std::wstring::npos;
}

bool RegKey::IsListableValueName(const std::wstring& name) {
    return !name.empty() && name.size() <= kMaxListedValueName &&
           name.find(L'\0') == std::wstring::npos;
}

bool RegKey::NextSubkeyName(std::wstring& out) {
    DWORD index = subkeyCursor++;
    wchar_t name[kSubkeyNameUnits] = {};
    LONG status = RegEnumKeyW(handle_, index, name, kSubkeyNameUnits);
    if (status == ERROR_SUCCESS) {
        out.assign(name);
        return true;
    }
    if (status == ERROR_NO_MORE_ITEMS) out.clear();
    subkeyCursor = 0;
    return false;
}
