// The UI thread of one transfer: creates the progress dialog and the mutex, starts the worker
// and pumps the dialog's messages until the worker finishes.
#pragma once

// argument: a TransferJob allocated with new, which this thread takes over and frees. Exit
// code 1 after a start-up failure (nothing transferred), else 0.
unsigned __stdcall TransferUiThread(void* argument);
