// The worker thread of one transfer: checks the destination, then copies or moves the files
// one by one, asking before a replace and reporting failures. It publishes what the progress
// dialog shows and never waits for the dialog; its last act is to tell the dialog it is done.
#pragma once

// argument: the UI thread's TransferJob, with its mutex and dialog set. Exit code 0 after a
// normal end, 1 when the replace confirmation could not be shown.
unsigned __stdcall TransferWorker(void* argument);
