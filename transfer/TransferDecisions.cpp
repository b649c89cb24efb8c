#include "transfer/TransferDecisions.h"

#include <windows.h>


unsigned int OverallPercent(unsigned int fileNumber, unsigned int fileCount) {
    if (fileCount == 0) return 0;
    return fileNumber * 100u / fileCount;
}

bool TargetTooLong(const std::wstring& target) {
    return target.size() > MAX_PATH;
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
