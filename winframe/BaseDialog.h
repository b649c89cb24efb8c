// A dialog run from a template resource, modal or modeless, whose messages are turned into calls
// of virtual handlers. The object is bound on WM_INITDIALOG and must outlive its window.
#pragma once

#include "winframe/DialogTheme.h"
#include "winframe/WindowObject.h"

#include <string>

class BaseDialog : public WindowObject {
public:
    // A control and the text it shows; control 0 stands for the dialog's caption.
    struct ControlText {
        int control;
        UINT text;
    };

    ~BaseDialog() override;

    // Detaches, then subclasses `handle` with DialogProc.
    bool Attach(HWND handle) override;
    // `dialogTemplate` is a MAKEINTRESOURCEW id in `instance`. False, with nothing shown, for a
    // non-null parent that is not a window or a null template; else true unless the dialog could
    // not be run. The EndDialog value is not returned: dialogs report through their own fields.
    virtual bool DoModal(HINSTANCE instance, LPCWSTR dialogTemplate, HWND parent);
    // The new dialog (also kept as the handle); with a null template the current handle and
    // nothing created; null for a non-null parent that is not a window.
    virtual HWND CreateModeless(HINSTANCE instance, LPCWSTR dialogTemplate, HWND parent);
    // WM_INITDIALOG. Its result is ignored: set the focus here if a control should have it.
    virtual int OnCreate(WPARAM wParam, LPARAM lParam);

    // Each default returns 0: not handled, the dialog manager's processing applies.
    virtual int OnCommand(WPARAM wParam, LPARAM lParam);
    virtual int OnPaint(WPARAM wParam, LPARAM lParam);
    virtual int OnNcPaint(WPARAM wParam, LPARAM lParam);
    virtual int OnSize(WPARAM wParam, LPARAM lParam);
    virtual int OnDestroy(WPARAM wParam, LPARAM lParam);
    virtual int OnClose(WPARAM wParam, LPARAM lParam);
    virtual int OnDrawItem(WPARAM wParam, LPARAM lParam);
    virtual int OnNotify(WPARAM wParam, LPARAM lParam);
    virtual int OnLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual int OnLButtonUp(WPARAM wParam, LPARAM lParam);
    virtual int OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    virtual int OnRButtonDown(WPARAM wParam, LPARAM lParam);
    virtual int OnRButtonUp(WPARAM wParam, LPARAM lParam);
    virtual int OnChar(WPARAM wParam, LPARAM lParam);
    virtual int OnSetCursor(WPARAM wParam, LPARAM lParam);
    virtual int OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    virtual int OnMouseMove(WPARAM wParam, LPARAM lParam);
    virtual int OnMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual int OnMouseHover(WPARAM wParam, LPARAM lParam);
    virtual int OnMeasureItem(WPARAM wParam, LPARAM lParam);
    virtual int OnKeyDown(WPARAM wParam, LPARAM lParam);
    virtual int OnKillFocus(WPARAM wParam, LPARAM lParam);
    virtual int OnSetFocus(WPARAM wParam, LPARAM lParam);
    virtual int OnSetFont(WPARAM wParam, LPARAM lParam);
    virtual int OnNcMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual int OnNcHitTest(WPARAM wParam, LPARAM lParam);
    virtual int OnShowWindow(WPARAM wParam, LPARAM lParam);
    virtual int OnTimer(WPARAM wParam, LPARAM lParam);
    virtual int OnCopyData(WPARAM wParam, LPARAM lParam);
    // WM_DPICHANGED: the dialog went to a monitor of another DPI (LOWORD of wParam); lParam
    // points at the window rectangle the system suggests. The default leaves it to the dialog
    // manager.
    virtual int OnDpiChanged(WPARAM wParam, LPARAM lParam);

    // Ends a modal dialog; true when EndDialog succeeded.
    bool EndDialog(INT_PTR result);

    // The language of the dialog's texts: set before the dialog is made, else the one chosen
    // (Languages.h) when it is made.
    void SetLanguage(LANGID language) { language_ = language; }
    LANGID Language() const { return language_; }
    // A text of the module the template came from, in the dialog's language.
    std::wstring Text(UINT id) const;
    std::wstring Format(UINT id, ...) const;
    // A message box owned by the dialog; caption and format are texts of the dialog.
    int Message(UINT captionId, UINT type, UINT formatId, ...);
    // Sets each control's text.
    void ShowTexts(const ControlText* texts, size_t count);
    template <size_t N>
    void ShowTexts(const ControlText (&texts)[N]) {
        ShowTexts(texts, N);
    }

    // Light, dark or high contrast as the user's settings say when the dialog opens; the
    // dialog procedure applies it once OnCreate has made every control.
    void ApplyTheme();
    WindowTheme Theme() const { return theme_.Theme(); }
    // WM_CTLCOLOR*: the theme's brush and colours, or 0 for the system's.
    INT_PTR ThemeColors(UINT message, HDC dc) const { return theme_.Colors(message, dc); }

private:
    void PrepareTexts(HINSTANCE instance);
    HMODULE TextsModule() const;

    LANGID language_ = 0;
    HMODULE textModule_ = nullptr;
    DialogTheme theme_;
};
