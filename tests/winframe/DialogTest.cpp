// BaseDialog: running templates modally and modelessly, what DialogProc answers, and how a
// dialog binds its child controls.
#include "winframe/BaseDialog.h"
#include "winframe/BaseWindow.h"
#include "winframe/WindowBinding.h"

#include "FrameTestResources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HINSTANCE Self() {
    return GetModuleHandleW(nullptr);
}

LPCWSTR Template() {
    return MAKEINTRESOURCEW(IDD_FRAME_TEST);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Dialogs of this thread only: other test programs may show the same template meanwhile.
int DialogsOfThisThread() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            *reinterpret_cast<int*>(param) += std::wstring(className) == L"#32770" ? 1 : 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Binds its first edit in OnCreate, puts the focus on the second, and answers OnCreate with
// TRUE, which must not make the dialog manager move the focus.
class FocusingDlg : public BaseDialog {
public:
    BaseWindow firstEdit;
    int createCalls = 0;
    int setFontCalls = 0;
    LPARAM createParam = 0;
    bool endOnCreate = false;
    int commandCalls = 0;

    int OnCreate(WPARAM, LPARAM lParam) override {
        ++createCalls;
        createParam = lParam;
        firstEdit.Attach(GetChild(IDC_FIRST_EDIT));
        SetFocus(GetChild(IDC_SECOND_EDIT));
        if (endOnCreate) {
            PostMessageW(Handle(), WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }
    int OnSetFont(WPARAM, LPARAM) override {
        ++setFontCalls;
        return 0;
    }
    int OnCommand(WPARAM wParam, LPARAM) override {
        ++commandCalls;
        if (LOWORD(wParam) == IDOK) {
            EndDialog(IDOK);
            return 1;
        }
        return 0;
    }
};

// Answers every table handler with a value of its own.
class AnsweringDlg : public BaseDialog {
public:
    std::vector<std::string> calls;
#define ANSWER(name, answer)                                                                     \
    int name(WPARAM, LPARAM) override {                                                          \
        calls.push_back(#name);                                                                  \
        return answer;                                                                           \
    }
    ANSWER(OnCommand, 201)
    ANSWER(OnPaint, 202)
    ANSWER(OnNcPaint, 203)
    ANSWER(OnSize, 204)
    ANSWER(OnDestroy, 205)
    ANSWER(OnClose, 206)
    ANSWER(OnDrawItem, 207)
    ANSWER(OnNotify, 208)
    ANSWER(OnLButtonDown, 209)
    ANSWER(OnLButtonUp, 210)
    ANSWER(OnLButtonDblClk, 211)
    ANSWER(OnRButtonDown, 212)
    ANSWER(OnRButtonUp, 213)
    ANSWER(OnChar, 214)
    ANSWER(OnSetCursor, 215)
    ANSWER(OnCaptureChanged, 216)
    ANSWER(OnMouseMove, 217)
    ANSWER(OnMouseLeave, 218)
    ANSWER(OnMouseHover, 219)
    ANSWER(OnMeasureItem, 220)
    ANSWER(OnKeyDown, 221)
    ANSWER(OnKillFocus, 222)
    ANSWER(OnSetFocus, 223)
    ANSWER(OnSetFont, 224)
    ANSWER(OnNcMouseLeave, 225)
    ANSWER(OnNcHitTest, 226)
    ANSWER(OnShowWindow, 229)
    ANSWER(OnTimer, 230)
    ANSWER(OnCopyData, 231)
    ANSWER(OnDpiChanged, 232)
#undef ANSWER
};

struct DialogRow {
    UINT message;
    const char* handler;  // nullptr: no dialog handler for this message
    int answer;
};

const DialogRow kDialogRows[] = {
    {WM_COMMAND, "OnCommand", 201},         {WM_PAINT, "OnPaint", 202},
    {WM_NCPAINT, "OnNcPaint", 203},         {WM_SIZE, "OnSize", 204},
    {WM_DESTROY, "OnDestroy", 205},         {WM_CLOSE, "OnClose", 206},
    {WM_DRAWITEM, "OnDrawItem", 207},       {WM_NOTIFY, "OnNotify", 208},
    {WM_LBUTTONDOWN, "OnLButtonDown", 209}, {WM_LBUTTONUP, "OnLButtonUp", 210},
    {WM_LBUTTONDBLCLK, "OnLButtonDblClk", 211}, {WM_RBUTTONDOWN, "OnRButtonDown", 212},
    {WM_RBUTTONUP, "OnRButtonUp", 213},     {WM_CHAR, "OnChar", 214},
    {WM_SETCURSOR, "OnSetCursor", 215},     {WM_CAPTURECHANGED, "OnCaptureChanged", 216},
    {WM_MOUSEMOVE, "OnMouseMove", 217},     {WM_MOUSELEAVE, "OnMouseLeave", 218},
    {WM_MOUSEHOVER, "OnMouseHover", 219},   {WM_MEASUREITEM, "OnMeasureItem", 220},
    {WM_KEYDOWN, "OnKeyDown", 221},         {WM_KILLFOCUS, "OnKillFocus", 222},
    {WM_SETFOCUS, "OnSetFocus", 223},       {WM_SETFONT, "OnSetFont", 224},
    {WM_NCMOUSELEAVE, "OnNcMouseLeave", 225}, {WM_NCHITTEST, "OnNcHitTest", 226},
    {WM_SHOWWINDOW, "OnShowWindow", 229},   {WM_TIMER, "OnTimer", 230},
    {WM_COPYDATA, "OnCopyData", 231},       {WM_DPICHANGED, "OnDpiChanged", 232},
    // Dialogs have no slot for these two; nor for messages outside the table.
    {WM_PARENTNOTIFY, nullptr, 0},          {WM_ACTIVATE, nullptr, 0},
    {WM_GETTEXT, nullptr, 0},
};

}  // namespace

TEST(DialogDispatch, TableMessagesReachTheirHandlersAndDefaultsAnswerZero) {
    AnsweringDlg answering;
    HWND handle = answering.CreateModeless(Self(), Template(), nullptr);
    ASSERT_NE(handle, nullptr);
    BaseDialog plain;
    HWND plainHandle = plain.CreateModeless(Self(), Template(), nullptr);
    ASSERT_NE(plainHandle, nullptr);
    for (const DialogRow& row : kDialogRows) {
        SCOPED_TRACE(row.message);
        answering.calls.clear();
        EXPECT_EQ(DialogProc(handle, row.message, 0, 0), row.answer);
        if (row.handler != nullptr) {
            ASSERT_EQ(answering.calls.size(), 1u);
            EXPECT_EQ(answering.calls[0], row.handler);
        } else {
            EXPECT_TRUE(answering.calls.empty());
        }
        EXPECT_EQ(DialogProc(plainHandle, row.message, 0, 0), 0);
    }
    DestroyWindow(plainHandle);
    DestroyWindow(handle);
}

TEST(DialogDispatch, InitDialogBindsTheObjectAndAlwaysAnswersZero) {
    FocusingDlg dialog;
    HWND handle = dialog.CreateModeless(Self(), Template(), nullptr);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(dialog.Handle(), handle);
    EXPECT_EQ(FetchWindowObject(handle), &dialog);
    EXPECT_EQ(dialog.createCalls, 1);
    EXPECT_EQ(dialog.createParam, reinterpret_cast<LPARAM>(static_cast<WindowObject*>(&dialog)));
    // WM_SETFONT of DS_SETFONT arrives before WM_INITDIALOG: no object yet, no handler call.
    EXPECT_EQ(dialog.setFontCalls, 0);
    // The focus stays where OnCreate put it, although OnCreate answered TRUE.
    EXPECT_EQ(GetFocus(), GetDlgItem(handle, IDC_SECOND_EDIT));
    // A direct WM_INITDIALOG answers 0 too, and a null object binds nothing.
    EXPECT_EQ(DialogProc(handle, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(
                                                        static_cast<WindowObject*>(&dialog))),
              0);
    EXPECT_EQ(dialog.createCalls, 2);
    EXPECT_EQ(DialogProc(handle, WM_INITDIALOG, 0, 0), 0);
    EXPECT_EQ(FetchWindowObject(handle), &dialog);
    // Before WM_INITDIALOG bound anything, a dialog procedure answers 0 to everything.
    HWND edit = GetDlgItem(handle, IDC_SECOND_EDIT);
    EXPECT_EQ(DialogProc(edit, WM_COMMAND, IDOK, 0), 0);

    // Bound by WM_INITDIALOG: Detach has nothing to undo and keeps the handle.
    EXPECT_FALSE(dialog.Detach());
    EXPECT_EQ(dialog.Handle(), handle);
    DestroyWindow(handle);
}

TEST(DialogDispatch, ChildControlsAreAttachedBySubclassingAndReleasedOnDetach) {
    FocusingDlg dialog;
    HWND handle = dialog.CreateModeless(Self(), Template(), nullptr);
    ASSERT_NE(handle, nullptr);
    HWND edit = GetDlgItem(handle, IDC_FIRST_EDIT);
    EXPECT_EQ(dialog.firstEdit.Handle(), edit);
    EXPECT_EQ(FetchWindowObject(edit), &dialog.firstEdit);
    WNDPROC original = FetchPreviousProc(edit);
    ASSERT_NE(original, nullptr);
    // The attached edit still works as an edit inside the dialog.
    EXPECT_TRUE(dialog.firstEdit.SetText(L"typed"));
    std::wstring text;
    EXPECT_TRUE(dialog.firstEdit.GetText(text));
    EXPECT_EQ(text, L"typed");
    EXPECT_TRUE(dialog.firstEdit.Detach());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)), original);
    DestroyWindow(handle);
}

TEST(DialogRun, DoModalRunsTheTemplateUntilEndDialog) {
    FocusingDlg dialog;
    dialog.endOnCreate = true;
    EXPECT_TRUE(dialog.DoModal(Self(), Template(), nullptr));
    EXPECT_EQ(dialog.createCalls, 1);
    EXPECT_GE(dialog.commandCalls, 1);
    EXPECT_FALSE(IsWindow(dialog.Handle()));

    // A template that is not in the module: the dialog cannot run.
    FocusingDlg missing;
    EXPECT_FALSE(missing.DoModal(Self(), MAKEINTRESOURCEW(4242), nullptr));
    EXPECT_EQ(missing.createCalls, 0);
}

TEST(DialogRun, BadParentOrNullTemplateCreatesNothing) {
    HWND notAWindow = reinterpret_cast<HWND>(0x7ffe);
    FocusingDlg dialog;
    dialog.endOnCreate = true;
    EXPECT_FALSE(dialog.DoModal(Self(), Template(), notAWindow));
    EXPECT_FALSE(dialog.DoModal(Self(), nullptr, nullptr));
    EXPECT_EQ(dialog.CreateModeless(Self(), Template(), notAWindow), nullptr);
    EXPECT_EQ(dialog.CreateModeless(Self(), nullptr, nullptr), nullptr);
    Pump();
    EXPECT_EQ(dialog.createCalls, 0);
    EXPECT_EQ(DialogsOfThisThread(), 0);

    // With a null template CreateModeless answers the dialog it already has.
    HWND handle = dialog.CreateModeless(Self(), Template(), nullptr);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(dialog.CreateModeless(Self(), nullptr, nullptr), handle);
    EXPECT_EQ(dialog.createCalls, 1);
    Pump();  // the posted IDOK: EndDialog on a modeless dialog only hides it
    DestroyWindow(handle);
}

TEST(DialogRun, ModelessDialogUnderAParentReportsPlacementAndCloses) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                                 nullptr, nullptr, Self(), nullptr);
    ASSERT_NE(owner, nullptr);
    FocusingDlg dialog;
    HWND handle = dialog.CreateModeless(Self(), Template(), owner);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetWindow(handle, GW_OWNER), owner);
    EXPECT_TRUE(dialog.Hide());   // was visible
    EXPECT_FALSE(dialog.Show());  // was hidden
    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_TRUE(dialog.EndDialog(IDCANCEL));
    DestroyWindow(handle);
    DestroyWindow(owner);
}
