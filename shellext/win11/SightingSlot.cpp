#include "shellext/win11/SightingSlot.h"

#include "shellext/win11/PackagedCommand.h"

#include <sddl.h>

#include <string>
#include <vector>

namespace {

// The process's user as a SID string, or empty.
std::wstring UserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::wstring();
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    std::wstring text;
    LPWSTR sid = nullptr;
    if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
        text = sid;
        LocalFree(sid);
    }
    CloseHandle(token);
    return text;
}

volatile LONG64* MapSlots() {
    std::wstring user = UserSid();
    if (user.empty()) return nullptr;
    // Another user's processes in this session (run as someone else) get slots of their own.
    // Named apart from the one slot of builds with one package, which an Explorer that has not
    // restarted since may still hold, mapped at its old size.
    std::wstring name = L"Local\\Wendrift.PackagedMenus." + user;
    constexpr DWORD kBytes = kPackagedEntries * sizeof(LONG64);
    HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBytes,
                                        name.c_str());
    if (section == nullptr) return nullptr;
    void* view = MapViewOfFile(section, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kBytes);
    // The handle stays open with the view: a view keeps the memory but not the name, and a
    // section without open handles can no longer be found by the other processes.
    if (view == nullptr) CloseHandle(section);
    return static_cast<volatile LONG64*>(view);
}

}  // namespace

volatile LONG64* SightingSlots() {
    static volatile LONG64* const slots = MapSlots();
    return slots;
}
