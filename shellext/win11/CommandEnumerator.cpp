#include "shellext/win11/CommandEnumerator.h"

#include "shellext/common/ComBoundary.h"

CommandEnumerator::~CommandEnumerator() {
    for (IExplorerCommand* command : commands_) command->Release();
}

STDMETHODIMP CommandEnumerator::Next(ULONG count, IExplorerCommand** commands, ULONG* fetched) {
    if (commands == nullptr) return E_POINTER;
    if (count != 1 && fetched == nullptr) return E_INVALIDARG;
    ULONG handed = 0;
    while (handed < count && position_ < commands_.size()) {
        commands[handed] = commands_[position_++];
        commands[handed]->AddRef();
        ++handed;
    }
    if (fetched != nullptr) *fetched = handed;
    return handed == count ? S_OK : S_FALSE;
}

STDMETHODIMP CommandEnumerator::Skip(ULONG count) {
    ULONG left = static_cast<ULONG>(commands_.size()) - position_;
    ULONG skipped = count < left ? count : left;
    position_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
}

STDMETHODIMP CommandEnumerator::Reset() {
    position_ = 0;
    return S_OK;
}

STDMETHODIMP CommandEnumerator::Clone(IEnumExplorerCommand** copy) {
    if (copy == nullptr) return E_POINTER;
    *copy = nullptr;
    return GuardCom([&] {
        std::vector<IExplorerCommand*> commands = commands_;  // may throw before any AddRef
        auto* clone = new CommandEnumerator(std::move(commands), position_);
        for (IExplorerCommand* command : commands_) command->AddRef();
        *copy = clone;
        return S_OK;
    });
}
