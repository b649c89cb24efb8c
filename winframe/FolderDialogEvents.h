// The modern file dialog's events while it picks a folder: when the user confirms, the choice
// goes through the folder rule (FolderRule.h); a refused one is explained over the dialog,
// which then stays open for another choice. Lives on the picker's stack and keeps no count: the
// picker unadvises it before it goes.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>

class FolderDialogEvents final : public IFileDialogEvents {
public:
    FolderDialogEvents() = default;
    FolderDialogEvents(const FolderDialogEvents&) = delete;
    FolderDialogEvents& operator=(const FolderDialogEvents&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP OnFileOk(IFileDialog* dialog) override;
    STDMETHODIMP OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    STDMETHODIMP OnFolderChange(IFileDialog*) override { return S_OK; }
    STDMETHODIMP OnSelectionChange(IFileDialog*) override { return S_OK; }
    STDMETHODIMP OnShareViolation(IFileDialog*, IShellItem*,
                                  FDE_SHAREVIOLATION_RESPONSE*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP OnTypeChange(IFileDialog*) override { return S_OK; }
    STDMETHODIMP OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override {
        return E_NOTIMPL;
    }

    // The folder the rule accepted when the dialog was last confirmed; empty before that.
    const std::wstring& Accepted() const { return accepted_; }

    LANGID language = 0;  // of the warnings

private:
    std::wstring accepted_;
};

// Judges the dialog's current choice by the folder rule and warns (owned by `owner`, in
// `language`) when it is refused. path receives the folder's path when it is usable.
bool AcceptChosenFolder(HWND owner, IShellItem* item, std::wstring& path, LANGID language);
