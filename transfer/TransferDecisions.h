// What the worker does next in each situation of a transfer, as plain functions.
#pragma once

#include "transfer/ReplaceConfirmDlg.h"

#include <string>
#include <vector>

// The overall figure when `fileNumber` of `fileCount` starts (the started file counts).
unsigned int OverallPercent(unsigned int fileNumber, unsigned int fileCount);

// Targets longer than MAX_PATH (260) characters are skipped; exactly 260 passes.
bool TargetTooLong(const std::wstring& target);

// The answer to "Would you like to create it?" for a destination that is not a directory.
enum class MissingDestinationStep { Create, Disassociate, GoOn };
MissingDestinationStep StepForMissingDestination(int answer);

// The user's answer in the replace confirmation.
enum class ReplaceStep { Transfer, TransferAndStopAsking, Skip, CancelJob };
ReplaceStep StepForReplaceChoice(ReplaceChoice choice);

// A failed file: whether the error is reported (only a call the user cancelled is not: an abort
// from a filter or a redirector is a failure like any other), and whether the job ends after
// the report (IDNO to the continue question when there are several files).
bool ReportsFailure(DWORD error, bool userCancelled);
bool EndsAfterReport(size_t fileCount, int answer);
