#include "store/ShellRegistrar.h"

#include "store/RegKey.h"
#include "winframe/TextHelpers.h"

const wchar_t kHandlerName[] = L"Wendrift";
const wchar_t kLibraryFileName[] = L"Wendrift.dll";

namespace {
std::wstring ServerKey() { return std::wstring(L"CLSID\\") + kClassIdText; }

std::wstring MarkerKey(const std::wstring& extension) {
    return extension + L"\\CLSID\\" + kClassIdText;
}

std::wstring HandlerKey(const std::wstring& fileType) {
    return fileType + L"\\shellex\\ContextMenuHandlers\\" + kHandlerName;
}

// Registry names compare without regard to case; our ProgID is plain ASCII.
bool IsOwnProgId(std::wstring fileType) {
    std::wstring own = kProgId;
    ToLower(fileType);
    ToLower(own);
    return fileType == own;
}

bool KeyExists(const std::wstring& path) {
    RegKey key;
    return key.Open(HKEY_CLASSES_ROOT, path, false);
}
}  // namespace

HRESULT RegisterServer(const std::wstring& libraryPath, bool registering) {
    RegKey key;
    // Also when unregistering: the tree deleted next then surely exists.
    if (!key.Open(HKEY_CLASSES_ROOT, ServerKey() + L"\\InprocServer32", true)) return E_FAIL;
    if (!registering) {
        if (!key.DeleteTree(HKEY_CLASSES_ROOT, ServerKey())) return E_FAIL;
        return key.DeleteTree(HKEY_CLASSES_ROOT, kProgId) ? S_OK : E_FAIL;
    }
    if (!key.SetDefaultString(libraryPath) || !key.SetString(L"ThreadingModel", L"Apartment")) {
        return E_FAIL;
    }
    key.Close();
    if (!key.Open(HKEY_CLASSES_ROOT, std::wstring(kProgId) + L"\\CLSID", true) ||
        !key.SetDefaultString(kClassIdText)) {
        return E_FAIL;
    }
    key.Close();
    if (!key.Open(HKEY_CLASSES_ROOT, HandlerKey(kProgId), true) ||
        !key.SetDefaultString(kClassIdText)) {
        return E_FAIL;
    }
    return S_OK;
}

bool RegisterExtension(const std::wstring& extension, bool registering) {
    // An empty name would put the marker values into the server's own key (and unregistering
    // would delete it); a backslash would reach some other key.
    if (!RegKey::IsSingleKeyName(extension)) return false;
    if (!registering) {
        if (!RegisterFileTypeHandler(extension, false)) return false;
        RegKey key;
        return key.DeleteTree(HKEY_CLASSES_ROOT, MarkerKey(extension));
    }
    RegKey marker;
    if (!marker.Open(HKEY_CLASSES_ROOT, MarkerKey(extension), true)) return false;
    // The configuration program expects the library beside itself.
    std::wstring directory;
    if (!GetModuleDirectory(directory)) return false;
    if (!marker.SetString(L"InprocServer32", directory + kLibraryFileName) ||
        !marker.SetString(L"ThreadingModel", L"Apartment")) {
        return false;
    }
    return RegisterFileTypeHandler(extension, true);
}

bool RegisterFileTypeHandler(const std::wstring& extension, bool registering) {
    if (!RegKey::IsSingleKeyName(extension)) return false;
    RegKey extensionKey;
    if (!extensionKey.Open(HKEY_CLASSES_ROOT, extension, false)) return false;
    // A missing default value and one of 0 bytes both mean: no file type.
    std::wstring fileType;
    if (!extensionKey.QueryDefaultString(fileType)) fileType.clear();

    if (fileType.empty()) {
        if (registering) return extensionKey.SetDefaultString(kProgId);
        // Other software took the file type away after we hooked in: the old type's handler
        // no longer serves this extension; only one under the extension itself still would.
        return !KeyExists(HandlerKey(extension));
    }
    if (!registering && IsOwnProgId(fileType)) {
        // The handler key under our ProgID is shared by every extension that had no file type
        // and by the server registration: it stays.
        return true;
    }
    RegKey handler;
    if (!handler.Open(HKEY_CLASSES_ROOT, HandlerKey(fileType), true)) return false;
    if (registering) return handler.SetDefaultString(kClassIdText);
    handler.Close();
    return handler.DeleteTree(HKEY_CLASSES_ROOT, HandlerKey(fileType));
}
