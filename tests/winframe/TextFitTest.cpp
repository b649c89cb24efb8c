// A dialog makes room for texts longer than its template's, and leaves a dialog whose texts fit
// exactly as the template laid it out.
#include "winframe/TextFit.h"

#include "FrameTestResources.h"
#include "LayoutCheck.h"

#include <gtest/gtest.h>

#include <map>

// Found by the map's comparison, which looks where RECT is declared.
bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

namespace {

INT_PTR CALLBACK Plain(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::map<int, RECT> Places(HWND dialog) {
    std::map<int, RECT> places;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        places[GetDlgCtrlID(child) == -1 ? 0 : GetDlgCtrlID(child)] = place;
    }
    RECT window;
    GetWindowRect(dialog, &window);
    places[-2] = window;
    return places;
}

class TextFit : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FIT_TEST),
                                     nullptr, Plain, 0);
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOWNOACTIVATE);
        before_ = Places(dialog_);
    }
    void TearDown() override { DestroyWindow(dialog_); }
    HWND dialog_ = nullptr;
    std::map<int, RECT> before_;
};

TEST_F(TextFit, TextsThatFitLeaveTheLayoutAsItWas) {
    FitToTexts(dialog_);
    EXPECT_EQ(Places(dialog_), before_);
}

TEST_F(TextFit, LongerTextsGrowTheirControlsAndMoveWhatLiesBeyond) {
    HDC screen = GetDC(nullptr);
    const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    SetDlgItemTextW(dialog_, IDC_FIT_LABEL, L"Vollst\u00e4ndiger Name des Empf\u00e4ngers:");
    SetDlgItemTextW(dialog_, IDC_FIT_ONE, L"&Hinzuf\u00fcgen und weiter...");
    SetDlgItemTextW(dialog_, IDC_FIT_GROUP, L"Eine Gruppe mit einer sehr langen \u00dcberschrift darin");
    ASSERT_FALSE(LayoutProblems(dialog_, dpi).empty());
    FitToTexts(dialog_);
    std::string faults;
    for (const std::string& fault : LayoutProblems(dialog_, dpi)) faults += "\n" + fault;
    EXPECT_TRUE(faults.empty()) << faults;
    std::map<int, RECT> after = Places(dialog_);
    // The edit beside the label moved right, the row's buttons stayed equal, the line spans
    // the wider dialog, and the dialog kept its centre.
    EXPECT_GT(after[IDC_FIRST_EDIT].left, before_[IDC_FIRST_EDIT].left);
    EXPECT_EQ(after[IDC_FIT_ONE].right - after[IDC_FIT_ONE].left,
              after[IDC_FIT_TWO].right - after[IDC_FIT_TWO].left);
    EXPECT_GE(after[0].right, after[IDC_FIT_GROUP].right);
    EXPECT_GE(after[0].right, after[IDC_FIT_TWO].right);
    RECT window = after[-2], was = before_[-2];
    EXPECT_GT(window.right - window.left, was.right - was.left);
    EXPECT_NEAR((window.left + window.right) / 2, (was.left + was.right) / 2, 1);
}

}  // namespace
