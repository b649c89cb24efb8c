// A change a test makes outside itself (the shared prefix's registry, a mount, a file flag) that
// a killed test would leave to every later run. Made before the change, it keeps the shell lines
// that undo it in the build folder (leftovers/<name>.sh), which the next test run runs first
// (tools/wine-session.sh start); once the test has undone its change, the destructor drops them.
#pragma once

#include <string>

class NextRunUndo {
public:
    NextRunUndo(const std::wstring& name, const std::wstring& shellLines);
    ~NextRunUndo();
    NextRunUndo(const NextRunUndo&) = delete;
    NextRunUndo& operator=(const NextRunUndo&) = delete;

private:
    std::wstring path_;
};
