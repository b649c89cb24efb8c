// A single-threaded COM apartment for as long as a thread calls the shell (file icons, type
// names, the folder picker): shell functions may create COM objects and expect one.
#pragma once

#include <objbase.h>

class ApartmentScope {
public:
    ApartmentScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    // Only a successful initialisation (S_OK or S_FALSE) is balanced.
    ~ApartmentScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ApartmentScope(const ApartmentScope&) = delete;
    ApartmentScope& operator=(const ApartmentScope&) = delete;

private:
    HRESULT result_;
};
