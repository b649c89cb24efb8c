#include "winframe/LibraryContext.h"

#include <atomic>

namespace {

std::atomic<HMODULE> g_libraryModule{nullptr};

HANDLE CreateLibraryContext(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    if (GetModuleFileNameW(module, path, MAX_PATH) == 0) {
        return INVALID_HANDLE_VALUE;
    }
    ACTCTXW context = {};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path;
    context.hModule = module;
    context.lpResourceName = MAKEINTRESOURCEW(2);
    return CreateActCtxW(&context);
}

// Created on first use and kept for the life of the process; transfers create windows on
// several threads, and the static's initialisation is thread-safe.
HANDLE LibraryContext() {
    HMODULE module = g_libraryModule.load();
    if (module == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    static const HANDLE context = CreateLibraryContext(module);
    return context;
}

}  // namespace

void SetLibraryModule(HMODULE module) {
    g_libraryModule.store(module);
}

HMODULE LibraryModule() {
    return g_libraryModule.load();
}

ActivationScope::ActivationScope() {
    HANDLE context = LibraryContext();
    if (context != INVALID_HANDLE_VALUE && context != nullptr) {
        active_ = ActivateActCtx(context, &cookie_) != 0;
    }
}

ActivationScope::~ActivationScope() {
    if (active_) {
        DeactivateActCtx(0, cookie_);
    }
}
