#include "transfer/TaskbarProgress.h"

#include "transfer/ProgressState.h"

#include <shobjidl.h>

TaskbarProgress TaskbarProgressFor(const ProgressFigures& figures) {
    TaskbarProgress progress;
    if (figures.errorShown) {
        progress.state = TaskbarState::Error;
    } else if (figures.paused) {
        progress.state = TaskbarState::Paused;
    }
    if (figures.fileCount > 0 && figures.fileNumber > 0) {
        progress.total = figures.fileCount * 100ull;
        progress.completed = (figures.fileNumber - 1) * 100ull +
                             static_cast<ULONGLONG>(figures.currentPercent);
    }
    return progress;
}

bool ShowOnTaskbar(HWND window, const TaskbarProgress& progress) {
    // Asked for each change only (a few a second at most): no list object kept between calls.
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ITaskbarList3, reinterpret_cast<void**>(&taskbar)))) {
        return false;
    }
    TBPFLAG flag = progress.state == TaskbarState::Error    ? TBPF_ERROR
                   : progress.state == TaskbarState::Paused ? TBPF_PAUSED
                                                            : TBPF_NORMAL;
    // The state first: setting a value keeps a paused or error state, and turns "no
    // progress" into normal.
    bool shown = SUCCEEDED(taskbar->HrInit()) &&
                 SUCCEEDED(taskbar->SetProgressState(window, flag)) &&
                 SUCCEEDED(taskbar->SetProgressValue(window, progress.completed, progress.total));
    taskbar->Release();
    return shown;
}
