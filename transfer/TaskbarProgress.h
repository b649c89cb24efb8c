// The progress dialog's button on the taskbar: the job's overall progress, paused while the
// user holds it, in error while an error message is open.
#pragma once

#include <windows.h>

struct ProgressFigures;

enum class TaskbarState { Normal, Paused, Error };

struct TaskbarProgress {
    TaskbarState state = TaskbarState::Normal;
    ULONGLONG completed = 0;
    ULONGLONG total = 1;
    bool operator==(const TaskbarProgress& other) const {
        return state == other.state && completed == other.completed && total == other.total;
    }
};

// From the published figures: the files done and the current file's share, in hundredths of a
// file, so that one large file moves the button as it goes.
TaskbarProgress TaskbarProgressFor(const ProgressFigures& figures);

// Shows it on `window`'s taskbar button through the platform's taskbar interface. False when
// the taskbar took nothing (no taskbar, or the button is not there yet): ask again later.
bool ShowOnTaskbar(HWND window, const TaskbarProgress& progress);
