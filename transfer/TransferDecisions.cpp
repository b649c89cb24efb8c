#include "transfer/TransferDecisions.h"

#include <windows.h>

#include <cwctype>

std::wstring DisassociationExtension(const std::vector<std::wstring>& files) {
    if (files.empty()) return L"<none>";
    size_t dot = files.front().rfind(L'.');
    if (dot == std::wstring::npos) return L"<none>";
    return files.front().substr(dot);
}

unsigned int OverallPercent(unsigned int fileNumber, unsigned int fileCount) {
    if (fileCount == 0) return 0;
    return fileNumber * 100u / fileCount;
}

bool TargetTooLong(const std::wstring& target) {
    return target.size() > MAX_PATH;
}

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// \\server\share after its prefix: up to the separator after the share name.
std::wstring ShareRoot(const std::wstring& path, size_t serverAt, const std::wstring& prefix) {
    size_t serverEnd = path.find_first_of(L"\\/", serverAt);
    if (serverEnd == std::wstring::npos || serverEnd == serverAt) return std::wstring();
    size_t shareEnd = path.find_first_of(L"\\/", serverEnd + 1);
    if (shareEnd == std::wstring::npos) shareEnd = path.size();
    if (shareEnd == serverEnd + 1) return std::wstring();
    return prefix + path.substr(serverAt, shareEnd - serverAt) + L'\\';
}

}  // namespace

std::wstring DestinationRoot(const std::wstring& path) {
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) return ShareRoot(path, 8, L"\\\\?\\UNC\\");
    std::wstring prefix = path.compare(0, 4, L"\\\\?\\") == 0 ? L"\\\\?\\" : L"";
    size_t at = prefix.size();
    if (prefix.empty() && path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        return ShareRoot(path, 2, L"\\\\");
    }
    if (path.size() >= at + 2 && iswalpha(path[at]) && path[at + 1] == L':' &&
        (path.size() == at + 2 || IsSeparator(path[at + 2]))) {
        return prefix + path.substr(at, 2) + L'\\';
    }
    return std::wstring();
}

MissingDestinationStep StepForMissingDestination(int answer) {
    if (answer == IDYES) return MissingDestinationStep::Create;
    if (answer == IDNO) return MissingDestinationStep::Disassociate;
    // The question could not be asked: try the transfer, each file reports its own failure.
    return MissingDestinationStep::GoOn;
}

ReplaceStep StepForReplaceChoice(ReplaceChoice choice) {
    switch (choice) {
    case ReplaceYes: return ReplaceStep::Transfer;
    case ReplaceYesToAll: return ReplaceStep::TransferAndStopAsking;
    case ReplaceNo: return ReplaceStep::Skip;
    default: return ReplaceStep::CancelJob;
    }
}

bool ReportsFailure(DWORD error, bool userCancelled) {
    return error != ERROR_REQUEST_ABORTED || !userCancelled;
}

bool EndsAfterReport(size_t fileCount, int answer) {
    return fileCount > 1 && answer == IDNO;
}
