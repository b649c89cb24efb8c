#include "winframe/BaseDialog.h"

#include "winframe/Languages.h"
#include "winframe/LibraryContext.h"
#include "winframe/TextHelpers.h"
#include "winframe/Texts.h"
#include "winframe/WindowBinding.h"

#include <cstdarg>

BaseDialog::~BaseDialog() = default;

bool BaseDialog::Attach(HWND handle) {
    Detach();
    return Subclass(handle, reinterpret_cast<WNDPROC>(DialogProc));
}

bool BaseDialog::DoModal(HINSTANCE instance, LPCWSTR dialogTemplate, HWND parent) {
    if ((parent != nullptr && !IsWindow(parent)) || dialogTemplate == nullptr) {
        return false;
    }
    PrepareTexts(instance);
    WindowObject* self = this;
    INT_PTR result;
    {
        ActivationScope scope;
        result = DialogBoxParamW(instance, dialogTemplate, parent, DialogProc,
                                 reinterpret_cast<LPARAM>(self));
    }
    return result != -1;
}

HWND BaseDialog::CreateModeless(HINSTANCE instance, LPCWSTR dialogTemplate, HWND parent) {
    if (parent != nullptr && !IsWindow(parent)) {
        return nullptr;
    }
    if (dialogTemplate != nullptr) {
        PrepareTexts(instance);
        WindowObject* self = this;
        ActivationScope scope;
        handle_ = CreateDialogParamW(instance, dialogTemplate, parent, DialogProc,
                                     reinterpret_cast<LPARAM>(self));
    }
    return handle_;
}

bool BaseDialog::EndDialog(INT_PTR result) {
    return ::EndDialog(handle_, result) != 0;
}

void BaseDialog::PrepareTexts(HINSTANCE instance) {
    textModule_ = instance != nullptr ? instance : GetModuleHandleW(nullptr);
    if (language_ == 0) language_ = ChosenLanguage();
}

HMODULE BaseDialog::TextsModule() const {
    return textModule_ != nullptr ? textModule_ : TextModule();
}

std::wstring BaseDialog::Text(UINT id) const {
    return LoadText(TextsModule(), language_ != 0 ? language_ : kEnglish, id);
}

std::wstring BaseDialog::Format(UINT id, ...) const {
    va_list args;
    va_start(args, id);
    std::wstring text = FormatTextV(TextsModule(), language_ != 0 ? language_ : kEnglish, id, args);
    va_end(args);
    return text;
}

int BaseDialog::Message(UINT captionId, UINT type, UINT formatId, ...) {
    va_list args;
    va_start(args, formatId);
    const std::wstring text =
        FormatTextV(TextsModule(), language_ != 0 ? language_ : kEnglish, formatId, args);
    va_end(args);
    return ShowMessage(handle_, text, Text(captionId), type);
}

void BaseDialog::ShowTexts(const ControlText* texts, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const std::wstring text = Text(texts[i].text);
        if (texts[i].control == 0) {
            SetWindowTextW(handle_, text.c_str());
        } else {
            SetDlgItemTextW(handle_, texts[i].control, text.c_str());
        }
    }
}

void BaseDialog::ApplyTheme() {
    theme_.Apply(handle_, ChooseTheme(ReadThemeSettings()));
}

int BaseDialog::OnCreate(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnCommand(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnPaint(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnNcPaint(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnSize(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnDestroy(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnClose(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnDrawItem(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnNotify(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnLButtonDown(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnLButtonUp(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnLButtonDblClk(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnRButtonDown(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnRButtonUp(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnChar(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnSetCursor(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnCaptureChanged(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnMouseMove(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnMouseLeave(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnMouseHover(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnMeasureItem(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnKeyDown(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnKillFocus(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnSetFocus(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnSetFont(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnNcMouseLeave(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnNcHitTest(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnShowWindow(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnTimer(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnCopyData(WPARAM, LPARAM) {
    return 0;
}

int BaseDialog::OnDpiChanged(WPARAM, LPARAM) {
    return 0;
}
