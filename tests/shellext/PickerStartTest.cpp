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

// The first folder there wins as soon as the earlier ones said no; a silent one counts as
// absent once the budget is spent.
TEST_F(PickerStartTest, TheFirstFolderThereWinsAndASilentOneCountsAsAbsentAfterTheBudget) {
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(FirstFolderPresent({L"x:\\gone", L"c:\\a", L"s:\\slow"}, 250), L"c:\\a");
    EXPECT_LT(GetTickCount64() - start, 200u) << "waited for a later folder";
    EXPECT_EQ(FirstFolderPresent({L"s:\\slow", L"c:\\b"}, 250), L"c:\\b");
    EXPECT_LT(GetTickCount64() - start, 1000u) << "waited past the budget";
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
