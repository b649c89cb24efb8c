// Shared pieces of the tests that drive the built Wendrift.dll through Wine's COM runtime:
// where the library is, running Wine's own programs, scratch files, small data objects and the
// menu on screen.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace shellkit {

// The built library and shell host as Windows paths (Z:\...).
std::wstring LibraryPath();
std::wstring ShellHostPath();

// Runs a program, waits for it (at most timeoutMs) and answers its exit code, or -1. When
// `output` is given, the program's stdout and stderr are collected there (through a file).
int Run(const std::wstring& commandLine, DWORD timeoutMs, std::string* output = nullptr);
int Regsvr32(const std::wstring& switches);

// An export of the library, loaded once into this process.
FARPROC Export(const char* name);

// A fresh folder under %TEMP% with a name holding a space; removed with everything in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name);
    ~ScratchFolder();
    const std::wstring& Path() const { return path_; }
    // Creates an empty file (or with `bytes` bytes) and answers its full path.
    std::wstring File(const std::wstring& name, size_t bytes = 0) const;
    std::wstring Folder(const std::wstring& name) const;

private:
    void Remove() const;
    std::wstring path_;
};

// An IDataObject that offers exactly one format on an HGLOBAL copy of `block`, and counts its
// references so a test can see that a caller gave back what it took.
class BlockDataObject : public IDataObject {
public:
    // asStream: hands the block out as an IStream whatever medium was asked for, as a
    // misbehaving data object might.
    BlockDataObject(CLIPFORMAT format, std::vector<BYTE> block, bool asStream = false);
    LONG References() const { return references_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    CLIPFORMAT format_;
    std::vector<BYTE> block_;
    bool asStream_;
    LONG references_ = 1;
};

// A CF_HDROP block (DROPFILES + wide paths + final null).
std::vector<BYTE> WideDropBlock(const std::vector<std::wstring>& paths);

// Threads of this process, to tell whether a call started any.
std::vector<DWORD> Threads();

// `menu` on screen as the file manager shows it, its submenu of access key `key` opened from
// the keyboard; once both are painted they are saved as the PNG `path` (a Windows path) and the
// menu is closed. Answers the open submenu's lines (labels, "----" for a separator); none when
// it did not open or could not be saved.
std::vector<std::wstring> ShowWithSubmenuOpen(HMENU menu, wchar_t key, const std::wstring& path);

}  // namespace shellkit
