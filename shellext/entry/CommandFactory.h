// Hands out the Windows 11 commands, one factory per operation. It answers, counts and locks as
// the classic factory does (nothing is counted: the library never unloads); only what it makes
// differs. The two factories are static and live as long as the library.
#pragma once

#include "shellext/entry/ClassFactory.h"

class CommandFactory final : public ClassFactory {
public:
    explicit CommandFactory(bool isCopy) : isCopy_(isCopy) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;

private:
    bool isCopy_;
};
