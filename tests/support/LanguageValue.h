// The user's language choice (HKCU\Software\Wendrift, "Language") set for one test and put
// back afterwards, as the configuration program would store it.
#pragma once

#include <string>

class LanguageValue {
public:
    // Null removes the value: the Windows display language applies.
    explicit LanguageValue(const wchar_t* tag);
    ~LanguageValue();
    LanguageValue(const LanguageValue&) = delete;
    LanguageValue& operator=(const LanguageValue&) = delete;

private:
    bool had_ = false;
    std::wstring previous_;
};
