// Walks a flyout's folder commands for the shell. Holds a reference to each.
#pragma once

#include "shellext/win11/CountedObject.h"

#include <windows.h>
#include <shobjidl.h>

#include <vector>

class CommandEnumerator final
    : public CountedObject<IEnumExplorerCommand, IID_IEnumExplorerCommand> {
public:
    // Takes over the callers' references.
    explicit CommandEnumerator(std::vector<IExplorerCommand*> commands, ULONG position = 0)
        : commands_(std::move(commands)), position_(position) {}
    ~CommandEnumerator() override;

    STDMETHODIMP Next(ULONG count, IExplorerCommand** commands, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumExplorerCommand** copy) override;

private:
    std::vector<IExplorerCommand*> commands_;
    ULONG position_;
};
