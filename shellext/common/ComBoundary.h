// The library runs inside the shell's process: no C++ exception may cross a COM method or an
// export. Each entry's body runs through GuardCom, which turns a failed allocation into
// E_OUTOFMEMORY and anything else into E_FAIL.
#pragma once

#include <windows.h>

#include <new>

template <typename Body>
HRESULT GuardCom(Body body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}
