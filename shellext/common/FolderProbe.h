// Which folders are there, asked without waiting on any of them for long: the "Other folder..."
// picker opens on Explorer's own thread, where a remembered folder on an offline share would
// otherwise freeze the file manager for the network's timeout.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// How one folder is asked; PathIsDirectoryW, or a test's stand-in.
using FolderProbeFunction = BOOL(WINAPI*)(LPCWSTR folder);
FolderProbeFunction& FolderProbe();

// How long the picker waits for its folders before it opens anyway.
constexpr DWORD kFolderProbeBudgetMs = 250;

// The first of the folders that is a folder, as far as they answer within `budgetMs`: each is
// asked on a thread of its own, all at once, and the answer comes as soon as the earlier ones
// have said no. One that has not answered in time counts as absent; its thread ends by itself
// whenever its answer comes (keeping the library loaded until then). Empty when none is.
std::wstring FirstFolderPresent(const std::vector<std::wstring>& folders, DWORD budgetMs);
