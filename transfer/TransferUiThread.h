// The UI thread of one transfer: creates the progress dialog and the mutex, starts the worker,
// pumps the dialog's messages until the worker finishes, and returns once the worker has ended.
// It runs on any thread, synchronously, for as long as the transfer does.
#pragma once

// argument: a TransferJob allocated with new, which this thread takes over and frees, host
// reference included. Exit code 1 after a start-up failure (nothing transferred), else 0.
unsigned __stdcall TransferUiThread(void* argument);
