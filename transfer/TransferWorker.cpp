#include "transfer/TransferWorker.h"

#include "store/AssociationStore.h"
#include "transfer/FileTransfer.h"
#include "transfer/NamedMutex.h"
#include "transfer/PathText.h"
#include "transfer/ProgressContext.h"
#include "transfer/ProgressDlg.h"
#include "transfer/ReplaceConfirmDlg.h"
#include "transfer/ReportTransferError.h"
#include "transfer/TransferDecisions.h"
#include "transfer/TransferJob.h"
#include "transfer/TransferPlatform.h"
#include "transfer/TransferResources.h"
#include "winframe/LibraryContext.h"
#include "winframe/TextHelpers.h"

#include <shlwapi.h>

namespace {

// The worker's state for the whole job.
class WorkerRun {
public:
    explicit WorkerRun(const TransferJob& job) : job_(job), dialog_(job.dialog) {}

    unsigned int Run() {
        // Connected before the destination check, whose prompts leave Cancel usable: a click
        // there simply ends the job before its first file.
        ConnectCancelFlag(&cancel_);
        if (!CheckDestination()) return End(0);

        SetWindowTextW(dialog_->Handle(), job_.isCopy ? L"Copying ..." : L"Moving ...");
        dialog_->ShowElapsed(0);

        for (const std::wstring& source : job_.files) {
            if (Cancelled()) break;
            FileOutcome outcome = TransferOne(source);
            if (outcome == FileOutcome::EndJob) break;
            if (outcome == FileOutcome::Fatal) return End(1);
        }
        return End(0);
    }

private:
    enum class FileOutcome { Next, EndJob, Fatal };

    void ConnectCancelFlag(BOOL* flag) {
        MutexLock lock(job_.mutex);
        dialog_->cancelFlag = flag;
    }

    bool Cancelled() {
        MutexLock lock(job_.mutex);
        return cancel_ == 1;
    }

    void Cancel() {
        MutexLock lock(job_.mutex);
        SetCancelFlag(&cancel_);
    }

    // False when the job ends here (the directory was given up).
    bool CheckDestination() {
        const std::wstring& destination = job_.destination;
        if (PathIsDirectoryW(destination.c_str())) return true;
        int answer = ShowFormattedMessage(
            job_.owner, L"Wendrift : Directory not found", MB_YESNO | MB_ICONWARNING,
            L"The destination directory:\n\n%s\n\nhas either been moved or renamed since its "
            L"association with Wendrift. Would you like to create it?",
            destination.c_str());
        switch (StepForMissingDestination(answer)) {
        case MissingDestinationStep::Create:
            if (CreateDirectoryW(destination.c_str(), nullptr)) return true;
            ShowFormattedMessage(job_.owner, L"Wendrift : ERROR", MB_ICONERROR,
                                 L"An error occurred while attempting to create the "
                                 L"directory:\n\n%s.\n\nThe directory will be disassociated "
                                 L"withWendrift.\n\nWin32 error: %d",
                                 destination.c_str(), static_cast<int>(GetLastError()));
            Disassociate();
            return false;
        case MissingDestinationStep::Disassociate:
            ShowFormattedMessage(job_.owner, L"Wendrift : Removing association", MB_ICONWARNING,
                                 L"The inaccessible directory:\n\n%s\n\nwill now be "
                                 L"disassociated with Wendrift.",
                                 destination.c_str());
            Disassociate();
            return false;
        case MissingDestinationStep::GoOn:
            return true;
        }
        return true;
    }

    void Disassociate() {
        DisassociateDirectory(DisassociationExtension(job_.files), job_.destination);
    }

    FileOutcome TransferOne(const std::wstring& source) {
        const unsigned int count = static_cast<unsigned int>(job_.files.size());
        HWND dialogWindow = dialog_->Handle();
        std::wstring text;
        unsigned int percent = OverallPercent(fileNumber_, count);
        FormatString(text, L"Overall Progress (file %d of %d) : %I64d%%", fileNumber_, count,
                     static_cast<long long>(percent));
        dialog_->ShowOverall(static_cast<int>(percent), text);
        ++fileNumber_;

        std::wstring name = FileNameOf(source);
        std::wstring label = CompactText(name, 29);
        FormatString(text, L"Current file '%s' : %I64d%%", label.c_str(), 0LL);
        dialog_->ShowCurrent(0, text);
        dialog_->ShowRate(L"Transfer Rate: calculating...");

        std::wstring target = JoinPath(job_.destination, name);
        if (TargetTooLong(target)) {
            ShowFormattedMessage(job_.owner, L"Wendrift : Can't copy file", MB_ICONWARNING,
                                 L"The following destination path:\n\n%s\n\nis longer than "
                                 L"MAX_PATH characters, and cannot be created.",
                                 target.c_str());
            return FileOutcome::Next;
        }

        // Looked up once: TransferFile is told the answer (a look-up of a missing name is a
        // read of the whole destination folder under Wine).
        TargetState known = TargetState::Unknown;
        if (ask_) {
            known = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES
                        ? TargetState::Exists
                        : TargetState::Absent;
        }
        if (known == TargetState::Exists) {
            ReplaceConfirmDlg confirm(source, target, count > 1);
            if (!confirm.DoModal(LibraryModule(), MAKEINTRESOURCEW(IDD_REPLACE), dialogWindow)) {
                MessageBoxW(dialogWindow,
                            L"A fatal internal error has occurred. Cannot continue.\n",
                            L"Wendrift : ERROR", MB_ICONERROR);
                return FileOutcome::Fatal;
            }
            switch (StepForReplaceChoice(confirm.choice)) {
            case ReplaceStep::Transfer: break;
            case ReplaceStep::TransferAndStopAsking: ask_ = false; break;
            case ReplaceStep::Skip: return FileOutcome::Next;
            case ReplaceStep::CancelJob: Cancel(); return FileOutcome::EndJob;
            }
        }

        PrepareContext(label);
        if (TransferFile(source, target, job_.isCopy, context_, &cancel_, known)) {
            return FileOutcome::Next;
        }
        DWORD error = GetLastError();
        // A cancelled call gets no report; the loop ends at the top of the next file.
        if (!ReportsFailure(error)) return FileOutcome::Next;
        SetLastError(error);
        int answer = ReportTransferError(dialogWindow, source, target, count > 1, job_.isCopy);
        return EndsAfterReport(count, answer) ? FileOutcome::EndJob : FileOutcome::Next;
    }

    void PrepareContext(const std::wstring& label) {
        DWORD now = Platform().tickCount();
        context_.mutex = job_.mutex;
        context_.cancelFlag = &cancel_;
        context_.dialog = dialog_;
        context_.label = label.c_str();
        context_.lastPercent = 0;
        context_.lastRateBytes = 0;
        context_.lastRateTick = now;
        if (firstCall_) {
            // The elapsed time counts from the job's first copy or move call.
            context_.startTick = now;
            context_.lastElapsedTick = now;
            firstCall_ = false;
        }
    }

    // Every way out: the dialog forgets the flag (it lives on this thread's stack), then ends.
    unsigned int End(unsigned int code) {
        ConnectCancelFlag(nullptr);
        dialog_->Finish();
        return code;
    }

    TransferJob job_;
    ProgressDlg* dialog_;
    BOOL cancel_ = 0;
    unsigned int fileNumber_ = 1;
    bool ask_ = true;
    bool firstCall_ = true;
    ProgressContext context_;
};

}  // namespace

unsigned __stdcall TransferWorker(void* argument) {
    auto* handed = static_cast<TransferJob*>(argument);
    try {
        WorkerRun run(*handed);
        return run.Run();
    } catch (...) {
        // Out of memory mid-job: still end the dialog so the UI thread does not wait forever.
        {
            MutexLock lock(handed->mutex);
            handed->dialog->cancelFlag = nullptr;
        }
        handed->dialog->Finish();
        return 1;
    }
}
