#include "winframe/Texts.h"

#include "winframe/LibraryContext.h"
#include "winframe/Languages.h"
#include "winframe/TextHelpers.h"


namespace {

// A string table resource holds 16 counted strings: id / 16 + 1 names the block.
bool ReadTableString(HMODULE module, LANGID language, UINT id, std::wstring& text) {
    HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (found == nullptr) return false;
    const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module, found)));
    if (entry == nullptr) return false;
    const WCHAR* end = entry + SizeofResource(module, found) / sizeof(WCHAR);
    for (UINT skip = id % 16; skip > 0 && entry < end; --skip) entry += 1 + *entry;
    if (entry >= end || *entry == 0 || entry + 1 + *entry > end) return false;
    text.assign(entry + 1, *entry);
    return true;
}

}  // namespace

HMODULE TextModule() {
    HMODULE library = LibraryModule();
    return library != nullptr ? library : GetModuleHandleW(nullptr);
}

std::wstring LoadText(HMODULE module, LANGID language, UINT id) {
    std::wstring text;
    if (!ReadTableString(module, language, id, text) && language != kEnglish) {
        ReadTableString(module, kEnglish, id, text);
    }
    return text;
}

std::wstring Text(LANGID language, UINT id) { return LoadText(TextModule(), language, id); }

std::wstring FormatTextV(HMODULE module, LANGID language, UINT id, va_list args) {
    const std::wstring format = LoadText(module, language, id);
    std::wstring text;
    FormatStringV(text, format.c_str(), args);
    return text;
}

std::wstring FormatText(LANGID language, UINT id, ...) {
    va_list args;
    va_start(args, id);
    std::wstring text = FormatTextV(TextModule(), language, id, args);
    va_end(args);
    return text;
}

int ShowTextMessage(HWND owner, LANGID language, UINT captionId, UINT type, UINT formatId, ...) {
    va_list args;
    va_start(args, formatId);
    const std::wstring text = FormatTextV(TextModule(), language, formatId, args);
    va_end(args);
    return ShowMessage(owner, text, Text(language, captionId), type);
}

std::wstring WithoutAccessKey(const std::wstring& label) {
    std::wstring title;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] != L'&') {
            title += label[i];
        } else if (i + 1 < label.size() && label[i + 1] == L'&') {
            title += L'&';
            ++i;
        } else if (!title.empty() && title.back() == L'(' && i + 2 < label.size() &&
                   label[i + 2] == L')') {
            // "(&Y)" after a title written in another script goes whole, with a space before it.
            title.pop_back();
            while (!title.empty() && title.back() == L' ') title.pop_back();
            i += 2;
        }
    }
    return title;
}
