// Test support: a registry key with everything below it, read into memory so that a test can
// restore what it found, or prove that an operation left a key exactly as it was.
#pragma once

#include <windows.h>
#include <shlwapi.h>

#include <map>
#include <string>
#include <vector>

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RegistryValue& other) const {
        return type == other.type && data == other.data;
    }
};

struct RegistryTree {
    bool exists = false;
    // Registry names compare without regard to case; the tests use distinct names anyway.
    std::map<std::wstring, RegistryValue> values;
    std::map<std::wstring, RegistryTree> subkeys;

    bool operator==(const RegistryTree& other) const {
        return exists == other.exists && values == other.values && subkeys == other.subkeys;
    }
    bool operator!=(const RegistryTree& other) const { return !(*this == other); }

    static RegistryTree Read(HKEY root, const std::wstring& path) {
        RegistryTree tree;
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return tree;
        tree.exists = true;
        for (DWORD i = 0;; ++i) {
            std::vector<wchar_t> name(16384);
            DWORD nameLength = 16384;
            DWORD type = 0, bytes = 0;
            if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, nullptr,
                              &bytes) != ERROR_SUCCESS) {
                break;
            }
            std::wstring valueName(name.data(), nameLength);
            RegistryValue value;
            value.type = type;
            value.data.resize(bytes + 2);
            DWORD read = bytes;
            RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, value.data.data(), &read);
            value.data.resize(read);
            tree.values[valueName] = value;
        }
        for (DWORD i = 0;; ++i) {
            wchar_t name[512] = {};
            DWORD nameLength = 512;
            if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            tree.subkeys[name] = Read(key, name);
        }
        RegCloseKey(key);
        return tree;
    }

    // Makes root\path exactly this tree again (or absent, when it did not exist).
    void Restore(HKEY root, const std::wstring& path) const {
        SHDeleteKeyW(root, path.c_str());
        if (exists) Write(root, path);
    }

private:
    void Write(HKEY root, const std::wstring& path) const {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        for (const auto& [name, value] : values) {
            RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        }
        for (const auto& [name, subkey] : subkeys) subkey.Write(key, name);
        RegCloseKey(key);
    }
};

// A key's value as stored: type and byte count as the registry reports them.
inline bool ReadRawValue(HKEY root, const std::wstring& path, const std::wstring& name,
                         RegistryValue& out) {
    RegistryTree tree = RegistryTree::Read(root, path);
    auto found = tree.values.find(name);
    if (found == tree.values.end()) return false;
    out = found->second;
    return true;
}

inline bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline std::wstring AsText(const RegistryValue& value) {
    return std::wstring(reinterpret_cast<const wchar_t*>(value.data.data()),
                        value.data.size() / sizeof(wchar_t));
}

// Value names of a key in the order the registry enumerates them.
inline std::vector<std::wstring> RawValueNames(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        std::vector<wchar_t> name(16384);
        DWORD length = 16384;
        if (RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name.data(), length);
    }
    RegCloseKey(key);
    return names;
}
