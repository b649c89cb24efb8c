// The hidden folder in which a replacing file is written next to its target until it is
// complete. A folder in use is held open, so a later transfer in any process can tell it from
// one left behind by a host that died part-way, and removes only those.
#pragma once

#include <windows.h>

#include <string>

class StagingFolder {
public:
    StagingFolder() = default;
    // Deletes a staged file still there, lets go of the folder and removes it.
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // A fresh folder of ours in `directory` (ending in a separator), held and hidden. False with
    // the last error set when none could be made.
    bool Create(const std::wstring& directory);
    // Where the replacing file is written.
    const std::wstring& FilePath() const { return file_; }

private:
    std::wstring folder_;
    std::wstring file_;
    HANDLE hold_ = INVALID_HANDLE_VALUE;
};

// "~wd" + eight hex digits + ".tmp": the names Create gives.
bool IsStagingFolderName(const std::wstring& name);

// Removes the hidden staging folders of ours in `directory` that no transfer holds (left by a
// host that died), with their staged file; anything else in such a folder keeps it. Answers how
// many went. No age is needed, unlike for job files (JobFile.h): a folder is held from before
// it is hidden until its transfer lets go, so one that nobody holds is abandoned at once.
size_t RemoveStaleStagingFolders(const std::wstring& directory);
