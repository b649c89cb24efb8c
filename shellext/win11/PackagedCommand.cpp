#include "shellext/win11/PackagedCommand.h"

#include "WendriftPackageIdentity.h"

namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);
using GetPackagesByPackageFamilyFunction = LONG(WINAPI*)(PCWSTR, UINT32*, PWSTR*, UINT32*,
                                                         WCHAR*);

DWORD WindowsBuild() {
    auto getVersion = reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (getVersion == nullptr || getVersion(&version) != 0) return 0;
    return version.dwBuildNumber;
}

bool LookUp() {
    DWORD build = WindowsBuild();
    if (build < kFirstWindows11Build) return false;
    // Looked up at run time: the library also loads on systems without package support.
    auto getPackages = reinterpret_cast<GetPackagesByPackageFamilyFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"),
                                               "GetPackagesByPackageFamily")));
    if (getPackages == nullptr) return false;
    UINT32 count = 0;
    UINT32 bufferLength = 0;
    LONG result = getPackages(kPackageFamilyName, &count, nullptr, &bufferLength, nullptr);
    return PackagedCommandActive(build, result, count);
}

}  // namespace

bool PackagedCommandActive(DWORD build, LONG familyLookup, UINT32 familyCount) {
    if (build < kFirstWindows11Build) return false;
    bool answered = familyLookup == ERROR_SUCCESS || familyLookup == ERROR_INSUFFICIENT_BUFFER;
    return answered && familyCount > 0;
}

bool PackagedCommandInUse() {
    static const bool inUse = LookUp();
    return inUse;
}
