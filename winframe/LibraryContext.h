// The shell-extension library runs inside a host whose manifest it does not control. Its
// windows and dialogs are created inside the library's own activation context (its manifest
// resource 2) so that they get version-6 common controls in any host. The configuration
// program never sets a library module: its own application manifest already does this.
#pragma once

#include <windows.h>

// Called once by the library at process attach.
void SetLibraryModule(HMODULE module);
// The module set above, or null in a program that is not the library.
HMODULE LibraryModule();

// Activates the library's context (looked up once and cached) for its lifetime; does nothing
// when no library module was set or the manifest cannot be activated.
class ActivationScope {
public:
    ActivationScope();
    ~ActivationScope();
    ActivationScope(const ActivationScope&) = delete;
    ActivationScope& operator=(const ActivationScope&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};
