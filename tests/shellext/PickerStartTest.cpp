// The "Other folder..." picker chooses its start folder without waiting on a folder that does
// not answer: the probe's stand-in takes seconds for some folders, as an offline share does.
#include "FolderPickerDriver.h"
#include "UiDriver.h"

#include "shellext/common/AskDestination.h"
#include "shellext/common/FolderProbe.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

// Folders starting with "s" take three seconds; those starting with "x" are absent.
BOOL WINAPI SlowProbe(LPCWSTR folder) {
    if (towlower(folder[0]) == L's') Sleep(3000);
    return towlower(folder[0]) != L'x';
}

class PickerStartTest : public ::testing::Test {
protected:
    PickerStartTest() { FolderProbe() = SlowProbe; }
    ~PickerStartTest() override { FolderProbe() = PathIsDirectoryW; }
};

TEST_F(PickerStartTest, TheFirstFolderThereWinsAndASilentOneCountsAsAbsentAfterTheBudget) {
    struct Case {
        std::vector<std::wstring> folders;
        const wchar_t* first;
        bool waitsForTheBudget;
    };
    const Case cases[] = {
        {{L"c:\\a", L"s:\\slow"}, L"c:\\a", false},  // decided before the slow one answers
        {{L"x:\\gone", L"c:\\b"}, L"c:\\b", false},
        {{L"s:\\slow", L"c:\\b"}, L"c:\\b", true},
        {{L"x:\\gone"}, L"", false},
    };
    for (const Case& c : cases) {
        ULONGLONG start = GetTickCount64();
        EXPECT_EQ(FirstFolderPresent(c.folders, 250), c.first);
        ULONGLONG took = GetTickCount64() - start;
        EXPECT_LT(took, c.waitsForTheBudget ? 1000u : 200u) << c.folders.front();
        if (c.waitsForTheBudget) EXPECT_GE(took, 240u);
    }
}

// The picker itself, on the calling thread as Explorer runs it, with every candidate slow.
TEST_F(PickerStartTest, ThePickerAppearsAtOnceWhileTheFoldersTakeSeconds) {
    Watchdog watchdog(30, "shellext_picker_tests");
    struct Ask {
        std::vector<std::wstring> files = {L"s:\\photos\\a.wdpick"};
        std::wstring destination;
        bool chosen = true;
    } ask;
    ULONGLONG start = GetTickCount64();
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID argument) -> DWORD {
            auto* ask = static_cast<Ask*>(argument);
            ask->chosen = AskForDestination(nullptr, ask->files, true, ask->destination);
            return 0;
        },
        &ask, 0, nullptr);
    ASSERT_TRUE(thread);
    HWND picker = WaitForFolderDialog(L"Copy a.wdpick to", 5000);
    ULONGLONG appeared = GetTickCount64() - start;
    ASSERT_TRUE(picker);
    EXPECT_LT(appeared, 1500u) << "the picker waited for the folders";
    PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_FALSE(ask.chosen);
}

}  // namespace
