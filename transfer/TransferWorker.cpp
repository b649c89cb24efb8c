#include "transfer/TransferWorker.h"

#include "store/AssociationStore.h"
#include "winframe/ApartmentScope.h"
#include "transfer/Destination.h"
#include "transfer/FileIdentity.h"
#include "transfer/FileTransfer.h"
#include "transfer/LibraryText.h"
#include "transfer/NamedMutex.h"
#include "transfer/PathText.h"
#include "transfer/ProgressContext.h"
#include "transfer/ProgressDlg.h"
#include "transfer/ProgressState.h"
#include "transfer/ReplaceConfirmDlg.h"
#include "transfer/ReportTransferError.h"
#include "transfer/StagingFolder.h"
#include "transfer/TransferDecisions.h"
#include "transfer/TransferJob.h"
#include "transfer/TransferPlatform.h"
#include "transfer/TransferResources.h"
#include "winframe/LibraryContext.h"
#include "winframe/PathRules.h"
#include "winframe/TextHelpers.h"

#include <algorithm>
#include <map>

namespace {

// The worker's state for the whole job.
class WorkerRun {
public:
    explicit WorkerRun(const TransferJob& job)
        : job_(job), window_(job.dialog->Handle()), progress_(*job.dialog->progress) {}

    unsigned int Run() {
        // A Cancel click during the destination check simply ends the job before its first
        // file: the flag exists from the start.
        if (!CheckDestination()) return End(0);
        // Left by hosts that died part-way through a replace; held folders stay.
        RemoveStaleStagingFolders(job_.destination);
        progress_.Start(job_.isCopy);

        for (const std::wstring& source : job_.files) {
            // A pause holds here between files; a Cancel meanwhile ends the job.
            progress_.WaitWhilePaused();
            if (progress_.Cancelled()) break;
            if (InDestinationAlready(source)) {
                ++fileNumber_;
                ++alreadyThere_;
                continue;
            }
            FileOutcome outcome = TransferOne(source);
            if (outcome == FileOutcome::EndJob) break;
            if (outcome == FileOutcome::Fatal) return End(1);
        }
        ReportAlreadyThere();
        return End(0);
    }

private:
    enum class FileOutcome { Next, EndJob, Fatal };

    // The taskbar button shows an error while the worker shows one.
    class ErrorShown {
    public:
        explicit ErrorShown(ProgressState& progress) : progress_(progress) {
            progress_.ShowingError(true);
        }
        ~ErrorShown() { progress_.ShowingError(false); }
        ErrorShown(const ErrorShown&) = delete;
        ErrorShown& operator=(const ErrorShown&) = delete;

    private:
        ProgressState& progress_;
    };

    // Whether the file lies in the destination itself, under whatever spelling: it would be
    // its own target. Asked once per folder the selection comes from.
    bool InDestinationAlready(const std::wstring& source) {
        std::wstring folder = FolderOf(source);
        auto known = sourceFolders_.find(folder);
        if (known != sourceFolders_.end()) return known->second;
        bool same = IsSameFile(folder, job_.destination);
        sourceFolders_[folder] = same;
        return same;
    }

    // Once for the whole selection, unless the user cancelled.
    void ReportAlreadyThere() {
        if (alreadyThere_ == 0 || progress_.Cancelled()) return;
        const size_t count = job_.files.size();
        UINT text = alreadyThere_ == 1       ? IDS_OWN_FOLDER_ONE
                    : alreadyThere_ == count ? IDS_OWN_FOLDER_ALL
                                             : IDS_OWN_FOLDER_SOME;
        std::wstring message;
        if (text == IDS_OWN_FOLDER_SOME) {
            FormatString(message, LibraryText(text).c_str(),
                         static_cast<long long>(alreadyThere_), job_.destination.c_str());
        } else {
            FormatString(message, LibraryText(text).c_str(), job_.destination.c_str());
        }
        ShowMessage(window_, message, LibraryText(IDS_OWN_FOLDER_CAPTION),
                    MB_ICONINFORMATION);
    }

    void Cancel() {
        MutexLock lock(job_.mutex);
        progress_.Cancel();
    }

    // False when the job ends here (the directory is out of reach, could not be made, or was
    // given up).
    bool CheckDestination() {
        const std::wstring& destination = job_.destination;
        DestinationCheck check = ::CheckDestination(destination);
        if (check.state == DestinationState::Present) return true;
        if (check.state == DestinationState::Unavailable) {
            // Not a folder that is gone: nothing to ask and nothing to forget.
            ErrorShown shown(progress_);
            ShowFormattedMessage(job_.owner, L"Wendrift : Directory not available",
                                 MB_ICONWARNING,
                                 L"The destination directory:\n\n%s\n\nis not available now%s. "
                                 L"Windows reports:\n\n%s\n%s",
                                 destination.c_str(),
                                 check.rootUnreachable ? L": the drive or network share it is on "
                                                         L"cannot be reached"
                                                       : L"",
                                 SystemErrorText(check.error).c_str(), NothingTransferred());
            return false;
        }
        int answer = ShowFormattedMessage(
            job_.owner, L"Wendrift : Directory not found", MB_YESNO | MB_ICONWARNING,
            Associated() ? L"The destination directory:\n\n%s\n\nhas either been moved or "
                           L"renamed since its association with Wendrift. Would you like to "
                           L"create it?"
                         : L"The destination directory:\n\n%s\n\ndoes not exist. Would you "
                           L"like to create it?",
            destination.c_str());
        MissingDestinationStep step = StepForMissingDestination(answer);
        // A folder picked for this transfer only has no association to give up.
        if (step == MissingDestinationStep::Disassociate && !Associated()) return false;
        switch (step) {
        case MissingDestinationStep::Create: {
            DWORD error = CreateDirectoryTree(destination);
            if (error == ERROR_SUCCESS) return true;
            // The user asked for the folder, not to forget it.
            ErrorShown shown(progress_);
            ShowFormattedMessage(job_.owner, L"Wendrift : ERROR", MB_ICONERROR,
                                 L"An error occurred while attempting to create the "
                                 L"directory:\n\n%s\n\n%s\n%s\n\nWin32 error: %d",
                                 destination.c_str(), SystemErrorText(error).c_str(),
                                 NothingTransferred(), static_cast<int>(error));
            return false;
        }
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

    // Whether the destination is one of the extension's folders rather than one picked for
    // this transfer only ("Other folder..."); asked only when the destination is in trouble.
    bool Associated() {
        if (associated_ < 0) {
            std::wstring folded = job_.destination;
            ToLower(folded);
            associated_ = IsDirectoryAssociated(SelectionExtension(job_.files), folded);
        }
        return associated_ != 0;
    }

    const wchar_t* NothingTransferred() {
        return Associated() ? L"Nothing was transferred, and the directory stays associated "
                              L"with Wendrift."
                            : L"Nothing was transferred.";
    }

    void Disassociate() {
        DisassociateDirectory(SelectionExtension(job_.files), job_.destination);
    }

    FileOutcome TransferOne(const std::wstring& source) {
        const unsigned int count = static_cast<unsigned int>(job_.files.size());
        std::wstring name = FileNameOf(source);
        std::wstring label = CompactText(name, 29);
        progress_.BeginFile(fileNumber_++, count, label);
        progress_.SetBytesDone(bytesDone_);

        std::wstring target = JoinPath(job_.destination, name);
        if (TargetTooLong(target)) {
            ErrorShown shown(progress_);
            ShowFormattedMessage(job_.owner, L"Wendrift : Can't copy file", MB_ICONWARNING,
                                 L"The following destination path:\n\n%s\n\nis longer than "
                                 L"MAX_PATH characters, and cannot be created.",
                                 target.c_str());
            return FileOutcome::Next;
        }

        // The call itself says whether the target exists: no look-up before every file.
        PrepareContext();
        NewFileResult result =
            TransferToNewFile(source, target, job_.isCopy, context_, progress_.CancelFlag());
        if (result == NewFileResult::TargetExists) {
            // The destination may be the source's own folder under another name: replacing
            // would write the file over itself, or delete it after a move.
            if (IsSameFile(source, target)) {
                ReportSameFile(source, target);
                return FileOutcome::Next;
            }
            if (ask_) {
                ReplaceConfirmDlg confirm(source, target, count > 1);
                if (!confirm.DoModal(LibraryModule(), MAKEINTRESOURCEW(IDD_REPLACE), window_)) {
                    MessageBoxW(window_,
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
            PrepareContext();
            result = ReplaceExistingFile(source, target, job_.isCopy, context_,
                                         progress_.CancelFlag())
                         ? NewFileResult::Done
                         : NewFileResult::Failed;
        }
        if (result == NewFileResult::Done) {
            bytesDone_ += BytesOf(target);
            return FileOutcome::Next;
        }
        DWORD error = GetLastError();
        // What moved of a file that failed part-way still moved: the job's count never goes
        // back, so the rate never shows less than nothing.
        bytesDone_ = std::max(bytesDone_, progress_.Read().bytesDone);
        // A call the user cancelled gets no report; the loop ends at the top of the next file.
        if (!ReportsFailure(error, progress_.Cancelled())) return FileOutcome::Next;
        SetLastError(error);
        ErrorShown shown(progress_);
        int answer = ReportTransferError(window_, source, target, count > 1, job_.isCopy);
        return EndsAfterReport(count, answer) ? FileOutcome::EndJob : FileOutcome::Next;
    }

    void ReportSameFile(const std::wstring& source, const std::wstring& target) {
        ErrorShown shown(progress_);
        ShowFormattedMessage(window_,
                             job_.isCopy ? L"Wendrift : Can't copy file"
                                         : L"Wendrift : Can't move file",
                             MB_ICONWARNING,
                             L"The source and destination file names are the same:\n\n%s\n\n"
                             L"and\n\n%s\n\nname one and the same file. It was left as it is.",
                             source.c_str(), target.c_str());
    }

    void PrepareContext() {
        context_.progress = &progress_;
        context_.cancelFlag = progress_.CancelFlag();
        context_.lastPercent = 0;
        context_.bytesBefore = bytesDone_;
        context_.fileBytes = -1;
        // The elapsed time counts from the job's first copy or move call.
        progress_.StartClock(Platform().tickCount());
    }

    // The platform said how big the file was when it called the routine; otherwise (Wine never
    // calls it) the arrived file says.
    long long BytesOf(const std::wstring& target) const {
        if (context_.fileBytes >= 0) return context_.fileBytes;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data)) return 0;
        return static_cast<long long>(
            (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    }

    // Every way out. The window is read before: once finished, the UI thread may end.
    unsigned int End(unsigned int code) {
        HWND window = window_;
        progress_.Finish();
        ProgressDlg::PostFinished(window);
        return code;
    }

    TransferJob job_;
    HWND window_;
    ProgressState& progress_;
    unsigned int fileNumber_ = 1;
    bool ask_ = true;
    long long bytesDone_ = 0;
    int associated_ = -1;  // unknown until asked
    ProgressContext context_;
    std::map<std::wstring, bool> sourceFolders_;  // folder -> it is the destination
    size_t alreadyThere_ = 0;
};

}  // namespace

unsigned __stdcall TransferWorker(void* argument) {
    auto* handed = static_cast<TransferJob*>(argument);
    // The replace question shows the shell's icons and the destination check asks the shell.
    ApartmentScope apartment;
    try {
        WorkerRun run(*handed);
        return run.Run();
    } catch (...) {
        // Out of memory mid-job: still end the dialog so the UI thread does not wait forever.
        handed->dialog->progress->Finish();
        ProgressDlg::PostFinished(handed->dialog->Handle());
        return 1;
    }
}
