// BaseWindow: which messages reach which handler, what the defaults pass on, how Create binds
// own and system classes, and how subclassing is done and undone.
#include "winframe/BaseWindow.h"
#include "winframe/WindowBinding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kOwnClass[] = L"WendriftFrameTestWindow";

void RegisterOwnClass() {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kOwnClass;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    registered = true;
}

struct Call {
    std::string handler;
    WPARAM wParam;
    LPARAM lParam;
};

// Records every handler call; answers each with a value of its own unless told to forward.
class RecordingWindow : public BaseWindow {
public:
    std::vector<Call> calls;
    int createResult = 0;
    bool forward = false;
    void* createParams = nullptr;  // lpCreateParams, read while the CREATESTRUCTW is valid

    int OnCreate(WPARAM w, LPARAM l) override {
        calls.push_back({"OnCreate", w, l});
        if (l != reinterpret_cast<LPARAM>(static_cast<WindowObject*>(this))) {
            createParams = reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams;
        }
        return createResult;
    }
#define RECORD(name, answer)                                                                     \
    int name(WPARAM w, LPARAM l) override {                                                      \
        calls.push_back({#name, w, l});                                                          \
        return forward ? BaseWindow::name(w, l) : answer;                                        \
    }
    RECORD(OnCommand, 101)
    RECORD(OnPaint, 102)
    RECORD(OnNcPaint, 103)
    RECORD(OnSize, 104)
    RECORD(OnDestroy, 105)
    RECORD(OnClose, 106)
    RECORD(OnDrawItem, 107)
    RECORD(OnNotify, 108)
    RECORD(OnLButtonDown, 109)
    RECORD(OnLButtonUp, 110)
    RECORD(OnLButtonDblClk, 111)
    RECORD(OnRButtonDown, 112)
    RECORD(OnRButtonUp, 113)
    RECORD(OnChar, 114)
    RECORD(OnSetCursor, 115)
    RECORD(OnCaptureChanged, 116)
    RECORD(OnMouseMove, 117)
    RECORD(OnMouseLeave, 118)
    RECORD(OnMouseHover, 119)
    RECORD(OnMeasureItem, 120)
    RECORD(OnKeyDown, 121)
    RECORD(OnKillFocus, 122)
    RECORD(OnSetFocus, 123)
    RECORD(OnSetFont, 124)
    RECORD(OnNcMouseLeave, 125)
    RECORD(OnNcHitTest, 126)
    RECORD(OnParentNotify, 127)
    RECORD(OnActivate, 128)
    RECORD(OnShowWindow, 129)
    RECORD(OnTimer, 130)
    RECORD(OnCopyData, -131)
#undef RECORD

    int Count(const std::string& handler) const {
        int n = 0;
        for (const Call& call : calls) {
            n += call.handler == handler ? 1 : 0;
        }
        return n;
    }
};

HWND CreatePopup(BaseWindow& window, const wchar_t* className, const wchar_t* name = L"") {
    return window.Create(0, className, name, WS_POPUP, 10, 10, 200, 100, nullptr, nullptr,
                         nullptr);
}

HWND RawEdit(HWND parent = nullptr) {
    return CreateWindowExW(0, L"EDIT", L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 100, 20, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

WNDPROC CurrentProc(HWND handle) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle, GWLP_WNDPROC));
}

}  // namespace

class WindowDispatch : public ::testing::Test {
protected:
    void SetUp() override { RegisterOwnClass(); }
};

TEST_F(WindowDispatch, EveryTableMessageReachesItsHandlerWithItsParameters) {
    struct Row {
        UINT message;
        const char* handler;
        int answer;
    };
    const Row rows[] = {
        {WM_COMMAND, "OnCommand", 101},         {WM_PAINT, "OnPaint", 102},
        {WM_NCPAINT, "OnNcPaint", 103},         {WM_SIZE, "OnSize", 104},
        {WM_DESTROY, "OnDestroy", 105},         {WM_CLOSE, "OnClose", 106},
        {WM_DRAWITEM, "OnDrawItem", 107},       {WM_NOTIFY, "OnNotify", 108},
        {WM_LBUTTONDOWN, "OnLButtonDown", 109}, {WM_LBUTTONUP, "OnLButtonUp", 110},
        {WM_LBUTTONDBLCLK, "OnLButtonDblClk", 111}, {WM_RBUTTONDOWN, "OnRButtonDown", 112},
        {WM_RBUTTONUP, "OnRButtonUp", 113},     {WM_CHAR, "OnChar", 114},
        {WM_SETCURSOR, "OnSetCursor", 115},     {WM_CAPTURECHANGED, "OnCaptureChanged", 116},
        {WM_MOUSEMOVE, "OnMouseMove", 117},     {WM_MOUSELEAVE, "OnMouseLeave", 118},
        {WM_MOUSEHOVER, "OnMouseHover", 119},   {WM_MEASUREITEM, "OnMeasureItem", 120},
        {WM_KEYDOWN, "OnKeyDown", 121},         {WM_KILLFOCUS, "OnKillFocus", 122},
        {WM_SETFOCUS, "OnSetFocus", 123},       {WM_SETFONT, "OnSetFont", 124},
        {WM_NCMOUSELEAVE, "OnNcMouseLeave", 125}, {WM_NCHITTEST, "OnNcHitTest", 126},
        {WM_PARENTNOTIFY, "OnParentNotify", 127}, {WM_ACTIVATE, "OnActivate", 128},
        {WM_SHOWWINDOW, "OnShowWindow", 129},   {WM_TIMER, "OnTimer", 130},
        {WM_COPYDATA, "OnCopyData", -131},
    };
    RecordingWindow window;
    HWND handle = CreatePopup(window, kOwnClass);
    ASSERT_NE(handle, nullptr);
    for (const Row& row : rows) {
        window.calls.clear();
        // Straight into the dispatcher: no system processing may add calls of its own.
        WPARAM w = 0x1000 + row.message;
        LPARAM l = static_cast<LPARAM>(0x123456789A00LL + row.message);
        LRESULT result = WindowProc(handle, row.message, w, l);
        SCOPED_TRACE(row.handler);
        ASSERT_EQ(window.calls.size(), 1u);
        EXPECT_EQ(window.calls[0].handler, row.handler);
        EXPECT_EQ(window.calls[0].wParam, w);
        EXPECT_EQ(window.calls[0].lParam, l);
        EXPECT_EQ(result, row.answer);  // a negative answer arrives sign-extended
    }
    window.calls.clear();
    DestroyWindow(handle);
}

TEST_F(WindowDispatch, MessagesOutsideTheTableAndBeforeBindingGoToTheDefaultProcedure) {
    // No object: the own class behaves like DefWindowProcW, so creation and text work.
    HWND bare = CreateWindowExW(0, kOwnClass, L"bare", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(FetchWindowObject(bare), nullptr);
    EXPECT_TRUE(SetWindowTextW(bare, L"changed"));
    wchar_t text[32] = {};
    GetWindowTextW(bare, text, 32);
    EXPECT_STREQ(text, L"changed");
    // WM_CREATE with a null lParam binds nothing and is answered by DefWindowProcW.
    EXPECT_EQ(WindowProc(bare, WM_CREATE, 0, 0), 0);
    EXPECT_EQ(FetchWindowObject(bare), nullptr);
    DestroyWindow(bare);

    RecordingWindow window;
    HWND handle = CreatePopup(window, kOwnClass, L"bound");
    ASSERT_NE(handle, nullptr);
    window.calls.clear();
    // WM_SETTEXT has no handler: it must still reach the default procedure.
    EXPECT_TRUE(SetWindowTextW(handle, L"other"));
    GetWindowTextW(handle, text, 32);
    EXPECT_STREQ(text, L"other");
    EXPECT_TRUE(window.calls.empty());
    // A second WM_CREATE without a CREATESTRUCTW leaves the binding and calls no handler.
    WindowProc(handle, WM_CREATE, 0, 0);
    EXPECT_EQ(FetchWindowObject(handle), &window);
    EXPECT_EQ(window.Count("OnCreate"), 0);
    window.calls.clear();
    DestroyWindow(handle);
}

TEST_F(WindowDispatch, DefaultHandlersPassTheMessageOn) {
    // Own class: the default OnClose forwards to DefWindowProcW, which destroys the window.
    BaseWindow plain;
    HWND handle = CreatePopup(plain, kOwnClass);
    ASSERT_NE(handle, nullptr);
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle));

    // Subclassed edit: the default OnChar and OnSetFont reach the edit's own procedure.
    RecordingWindow edit;
    edit.forward = true;
    HWND editHandle = CreatePopup(edit, L"EDIT");
    ASSERT_NE(editHandle, nullptr);
    SendMessageW(editHandle, WM_CHAR, L'q', 1);
    wchar_t text[8] = {};
    GetWindowTextW(editHandle, text, 8);
    EXPECT_STREQ(text, L"q");
    EXPECT_EQ(edit.Count("OnChar"), 1);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(editHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(editHandle, WM_GETFONT, 0, 0)), font);
    DestroyWindow(editHandle);
}

TEST_F(WindowDispatch, CreateBindsOwnClassesOnWmCreateAndSubclassesSystemClasses) {
    RecordingWindow own;
    HWND ownHandle = CreatePopup(own, kOwnClass);
    ASSERT_NE(ownHandle, nullptr);
    EXPECT_EQ(own.Handle(), ownHandle);
    ASSERT_EQ(own.Count("OnCreate"), 1);
    const Call& created = own.calls[0];
    EXPECT_EQ(created.wParam, 0u);
    EXPECT_NE(created.lParam, 0);
    EXPECT_EQ(own.createParams, static_cast<WindowObject*>(&own));
    EXPECT_EQ(FetchPreviousProc(ownHandle), nullptr);
    EXPECT_EQ(CurrentProc(ownHandle), WindowProc);

    for (const wchar_t* systemClass : {L"EDIT", L"BUTTON"}) {
        RecordingWindow control;
        HWND handle = CreatePopup(control, systemClass);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(control.Handle(), handle);
        ASSERT_EQ(control.Count("OnCreate"), 1);
        EXPECT_EQ(control.calls[0].wParam, 0u);
        EXPECT_EQ(control.calls[0].lParam,
                  reinterpret_cast<LPARAM>(static_cast<WindowObject*>(&control)));
        EXPECT_EQ(FetchWindowObject(handle), &control);
        EXPECT_EQ(CurrentProc(handle), WindowProc);
        EXPECT_NE(FetchPreviousProc(handle), nullptr);
        DestroyWindow(handle);
    }

    // A record goes through the same path; no record, no window.
    RecordingWindow fromParams;
    WindowCreateParams params;
    params.className = L"EDIT";
    params.windowName = L"from params";
    params.style = WS_POPUP;
    params.width = 80;
    params.height = 20;
    HWND paramsHandle = fromParams.CreateFromParams(&params);
    ASSERT_NE(paramsHandle, nullptr);
    wchar_t text[32] = {};
    GetWindowTextW(paramsHandle, text, 32);
    EXPECT_STREQ(text, L"from params");
    EXPECT_EQ(fromParams.CreateFromParams(nullptr), nullptr);
    DestroyWindow(paramsHandle);
    own.calls.clear();
    DestroyWindow(ownHandle);
}

TEST_F(WindowDispatch, OnCreateMinusOneDestroysOnlyAfterCreateNotDuringWmCreate) {
    // Outside WM_CREATE (system class) the window is destroyed again and Create answers null.
    RecordingWindow refusing;
    refusing.createResult = -1;
    EXPECT_EQ(CreatePopup(refusing, L"EDIT", L"refused-edit-window"), nullptr);
    EXPECT_EQ(FindWindowW(L"EDIT", L"refused-edit-window"), nullptr);
    EXPECT_EQ(refusing.Handle(), nullptr);

    // During WM_CREATE the forwarded result decides: the window stays.
    RecordingWindow own;
    own.createResult = -1;
    HWND handle = CreatePopup(own, kOwnClass, L"kept-own-window");
    EXPECT_NE(handle, nullptr);
    EXPECT_EQ(FindWindowW(kOwnClass, L"kept-own-window"), handle);
    own.calls.clear();
    DestroyWindow(handle);
}

TEST_F(WindowDispatch, AttachTwiceKeepsTheOriginalProcedureAndDetachRestoresIt) {
    HWND edit = RawEdit();
    ASSERT_NE(edit, nullptr);
    WNDPROC original = CurrentProc(edit);

    RecordingWindow window;
    window.forward = true;
    ASSERT_TRUE(window.Attach(edit));
    ASSERT_TRUE(window.Attach(edit));
    EXPECT_EQ(CurrentProc(edit), WindowProc);
    EXPECT_EQ(FetchPreviousProc(edit), original);
    int properties = 0;
    EnumPropsExW(
        edit,
        [](HWND, LPWSTR name, HANDLE, ULONG_PTR count) -> BOOL {
            if (!IS_INTRESOURCE(name) && std::wstring(name) == L"WNDPROC") {
                ++*reinterpret_cast<int*>(count);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&properties));
    EXPECT_EQ(properties, 1);
    // Still a working edit: the forwarded WM_CHAR ends in the edit's own procedure.
    SendMessageW(edit, WM_CHAR, L'z', 1);
    EXPECT_EQ(window.Count("OnChar"), 1);
    wchar_t text[8] = {};
    GetWindowTextW(edit, text, 8);
    EXPECT_STREQ(text, L"z");

    EXPECT_TRUE(window.Detach());
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(CurrentProc(edit), original);
    EXPECT_EQ(FetchPreviousProc(edit), nullptr);
    EXPECT_EQ(FetchWindowObject(edit), nullptr);
    EXPECT_FALSE(window.Detach());  // nothing left to undo

    // Moving a window to another object, and the destructor undoing the subclassing.
    {
        BaseWindow scoped;
        ASSERT_TRUE(scoped.Attach(edit));
        EXPECT_EQ(FetchWindowObject(edit), &scoped);
    }
    EXPECT_EQ(CurrentProc(edit), original);
    EXPECT_EQ(FetchWindowObject(edit), nullptr);
    DestroyWindow(edit);
}

TEST_F(WindowDispatch, AttachRefusesNonWindowsAndWindowsAlreadyRunningTheDispatcher) {
    BaseWindow window;
    EXPECT_FALSE(window.Attach(nullptr));
    EXPECT_FALSE(window.Attach(reinterpret_cast<HWND>(0x7ffe)));
    EXPECT_EQ(window.Handle(), nullptr);

    // A window bound by creation would otherwise store WindowProc as its own previous
    // procedure and forward to itself for ever.
    BaseWindow own;
    HWND handle = CreatePopup(own, kOwnClass);
    ASSERT_NE(handle, nullptr);
    BaseWindow second;
    EXPECT_FALSE(second.Attach(handle));
    EXPECT_EQ(FetchPreviousProc(handle), nullptr);
    EXPECT_TRUE(SetWindowTextW(handle, L"still answers"));
    EXPECT_FALSE(own.Detach());  // bound by creation: nothing to undo, handle kept
    EXPECT_EQ(own.Handle(), handle);
    DestroyWindow(handle);
}

TEST_F(WindowDispatch, BindingSlotsFailQuietlyForNonWindows) {
    HWND none = reinterpret_cast<HWND>(0x7ffe);
    BaseWindow object;
    EXPECT_FALSE(StoreWindowObject(none, &object));
    EXPECT_EQ(FetchWindowObject(none), nullptr);
    EXPECT_FALSE(StorePreviousProc(none, DefWindowProcW));
    EXPECT_EQ(FetchPreviousProc(none), nullptr);
    EXPECT_FALSE(BindWindowObject(none, &object));

    HWND edit = RawEdit();
    EXPECT_FALSE(BindWindowObject(edit, nullptr));
    EXPECT_TRUE(BindWindowObject(edit, &object));
    EXPECT_EQ(object.Handle(), edit);
    // Storing over a previous non-zero value and over a zero value both count as success.
    EXPECT_TRUE(StoreWindowObject(edit, nullptr));
    EXPECT_TRUE(StoreWindowObject(edit, nullptr));
    DestroyWindow(edit);
}
