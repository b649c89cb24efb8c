// One open registry key, used as a local object by the association store and the shell
// registration: opened, used and closed within one function.
#pragma once

#include <windows.h>

#include <string>

class RegKey {
public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    virtual ~RegKey();

    // create: RegCreateKeyExW (missing keys along the path are made); else RegOpenKeyExW.
    bool Open(HKEY root, const std::wstring& path, bool create);
    LONG Close();
    HKEY Handle() const { return handle_; }

    // An empty name addresses the unnamed (default) value. A null buffer asks for the size.
    bool QueryValue(const std::wstring& name, void* data, DWORD* bytes);
    bool QueryString(const std::wstring& name, std::wstring& out);
    bool QueryDefaultString(std::wstring& out);
    // REG_SZ without a terminating null: the byte count is 2 x length.
    bool SetString(const std::wstring& name, const std::wstring& text);
    bool SetDefaultString(const std::wstring& text);
    // A REG_DWORD value; QueryDword is false for a missing value or one of another type.
    bool QueryDword(const std::wstring& name, DWORD& value);
    bool SetDword(const std::wstring& name, DWORD value);
    bool DeleteValue(const std::wstring& name);
    // Removes root\path with everything under it; does not touch the held handle.
    bool DeleteTree(HKEY root, const std::wstring& path);

    // Enumerations: each runs until the call that answers false, which resets its cursor.
    // A value name too long to read is passed over (see ReadValueName).
    bool NextValueName(std::wstring& out);
    bool NextSubkeyName(std::wstring& out);
    // Ends this thread's value listing early, so that the next one starts at the first value.
    static void ResetValueCursor();

    // The name of the first readable value at or after `index`; `index` is moved to it. Names
    // longer than the registry's 16,383 units (only its native interface writes those) cannot
    // be read into any buffer and are passed over, so they never hide the values after them.
    // Answers ERROR_SUCCESS, ERROR_NO_MORE_ITEMS past the last value, or another failure.
    LONG ReadValueName(DWORD& index, std::wstring& name) const;

    // True for a name that addresses exactly one key below its parent: not empty, within the
    // registry's 255 units, no backslash (which would reach a deeper or, at the end, the
    // parent key itself) and no null (which would cut the name short).
    static bool IsSingleKeyName(const std::wstring& name);
    // True for a value name that NextValueName can deliver again: 1 to kMaxListedValueName
    // units, no null.
    static bool IsListableValueName(const std::wstring& name);
    static constexpr size_t kMaxKeyName = 255;
    static constexpr size_t kMaxListedValueName = 16383;

private:
    HKEY handle_ = nullptr;
};
