// The library's activation context. This executable has no application manifest asking for
// common controls 6, only a library-style manifest resource 2, as the shell extension has.
// Wine loads comctl32 for "SysLink" in any context, so the context is told apart by the
// button class: inside it a button's procedure comes from comctl32 (version 6), outside from
// user32.
#include "winframe/BaseDialog.h"
#include "winframe/BaseWindow.h"
#include "winframe/LibraryContext.h"
#include "winframe/WindowBinding.h"

#include "FrameTestResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <thread>
#include <vector>

namespace {

HINSTANCE Self() {
    return GetModuleHandleW(nullptr);
}

// Lower-case file name of the module a window procedure lives in.
std::wstring ProcModule(WNDPROC procedure) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(procedure), &module)) {
        return L"?";
    }
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L'\\') + 1);
    std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return towlower(c); });
    return name;
}

// Module of the procedure the framework found on a button it created (and then subclassed).
std::wstring ButtonModuleThroughCreate() {
    BaseWindow button;
    HWND handle = button.Create(0, L"BUTTON", L"b", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr,
                                nullptr);
    if (handle == nullptr) {
        return L"(not created)";
    }
    std::wstring module = ProcModule(FetchPreviousProc(handle));
    DestroyWindow(handle);
    return module;
}

std::wstring ButtonModuleDirect() {
    HWND handle = CreateWindowExW(0, L"BUTTON", L"b", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr,
                                  Self(), nullptr);
    std::wstring module =
        ProcModule(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle, GWLP_WNDPROC)));
    DestroyWindow(handle);
    return module;
}

HANDLE CurrentContext() {
    HANDLE context = nullptr;
    GetCurrentActCtx(&context);
    if (context != nullptr) {
        ReleaseActCtx(context);
    }
    return context;
}

// Notes the module of its OK button's procedure and ends at once.
class ProbeDlg : public BaseDialog {
public:
    std::wstring okModule;
    int OnCreate(WPARAM, LPARAM) override {
        HWND ok = GetChild(IDOK);
        okModule = ProcModule(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(ok, GWLP_WNDPROC)));
        PostMessageW(Handle(), WM_COMMAND, IDOK, 0);
        return 0;
    }
    int OnCommand(WPARAM wParam, LPARAM) override {
        if (LOWORD(wParam) == IDOK) {
            EndDialog(IDOK);
            return 1;
        }
        return 0;
    }
};

}  // namespace

// Runs first: the library module is process-wide and is set by the next test.
TEST(ActivationContext, WithoutALibraryModuleNothingIsActivated) {
    EXPECT_EQ(LibraryModule(), nullptr);
    HANDLE before = CurrentContext();
    {
        ActivationScope scope;
        EXPECT_EQ(CurrentContext(), before);
    }
    EXPECT_EQ(ButtonModuleThroughCreate(), L"user32.dll");
    ProbeDlg dialog;
    ASSERT_TRUE(dialog.DoModal(Self(), MAKEINTRESOURCEW(IDD_FRAME_TEST), nullptr));
    EXPECT_EQ(dialog.okModule, L"user32.dll");
}

TEST(ActivationContext, CreationCallsRunInsideTheLibraryContextAndOnlyThere) {
    SetLibraryModule(Self());
    EXPECT_EQ(LibraryModule(), Self());
    HANDLE before = CurrentContext();

    EXPECT_EQ(ButtonModuleThroughCreate(), L"comctl32.dll");
    EXPECT_EQ(CurrentContext(), before);  // deactivated right after the call
    EXPECT_EQ(ButtonModuleDirect(), L"user32.dll");

    BaseWindow link;
    HWND linkHandle = link.Create(0, L"SysLink", L"<a>link</a>", WS_POPUP, 0, 0, 100, 20, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(linkHandle, nullptr);
    EXPECT_EQ(ProcModule(FetchPreviousProc(linkHandle)), L"comctl32.dll");
    DestroyWindow(linkHandle);

    ProbeDlg modal;
    ASSERT_TRUE(modal.DoModal(Self(), MAKEINTRESOURCEW(IDD_FRAME_TEST), nullptr));
    EXPECT_EQ(modal.okModule, L"comctl32.dll");
    ProbeDlg modeless;
    HWND handle = modeless.CreateModeless(Self(), MAKEINTRESOURCEW(IDD_FRAME_TEST), nullptr);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(modeless.okModule, L"comctl32.dll");
    EXPECT_EQ(CurrentContext(), before);
    DestroyWindow(handle);
}

TEST(ActivationContext, TransferThreadsShareTheOneContext) {
    ASSERT_EQ(LibraryModule(), Self());
    std::vector<std::wstring> modules(6);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < modules.size(); ++i) {
        threads.emplace_back([&modules, i] { modules[i] = ButtonModuleThroughCreate(); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const std::wstring& module : modules) {
        EXPECT_EQ(module, L"comctl32.dll");
    }
}
