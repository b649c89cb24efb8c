// The worker's decisions for each situation of a transfer.
#include "transfer/ReportTransferError.h"
#include "transfer/TransferDecisions.h"

#include "winframe/Languages.h"

#include <gtest/gtest.h>

namespace {

TEST(OverallPercent, CountsTheFileBeingStarted) {
    EXPECT_EQ(OverallPercent(1, 3), 33u);
    EXPECT_EQ(OverallPercent(2, 3), 66u);
    EXPECT_EQ(OverallPercent(3, 3), 100u);
    EXPECT_EQ(OverallPercent(1, 1), 100u);
    EXPECT_EQ(OverallPercent(1, 7), 14u);
    EXPECT_EQ(OverallPercent(1, 0), 0u);
}

TEST(TargetTooLong, LetsExactly260CharactersThrough) {
    EXPECT_FALSE(TargetTooLong(std::wstring(260, L'a')));
    EXPECT_TRUE(TargetTooLong(std::wstring(261, L'a')));
}

TEST(MissingDestination, YesCreatesNoGivesUpAnythingElseGoesOn) {
    EXPECT_EQ(StepForMissingDestination(IDYES), MissingDestinationStep::Create);
    EXPECT_EQ(StepForMissingDestination(IDNO), MissingDestinationStep::Disassociate);
    EXPECT_EQ(StepForMissingDestination(0), MissingDestinationStep::GoOn);
}

TEST(ReplaceChoice, MapsToTheWorkersStep) {
    EXPECT_EQ(StepForReplaceChoice(ReplaceYes), ReplaceStep::Transfer);
    EXPECT_EQ(StepForReplaceChoice(ReplaceYesToAll), ReplaceStep::TransferAndStopAsking);
    EXPECT_EQ(StepForReplaceChoice(ReplaceNo), ReplaceStep::Skip);
    EXPECT_EQ(StepForReplaceChoice(ReplaceCancel), ReplaceStep::CancelJob);
}

TEST(FailedFile, OnlyCallsTheUserCancelledAreSilentAndNoEndsOnlyASeveralFileJob) {
    EXPECT_FALSE(ReportsFailure(ERROR_REQUEST_ABORTED, true));
    EXPECT_TRUE(ReportsFailure(ERROR_REQUEST_ABORTED, false)) << "aborted by a filter";
    EXPECT_TRUE(ReportsFailure(ERROR_ACCESS_DENIED, true));
    EXPECT_TRUE(EndsAfterReport(2, IDNO));
    EXPECT_FALSE(EndsAfterReport(2, IDYES));
    EXPECT_FALSE(EndsAfterReport(1, IDOK));
    EXPECT_FALSE(EndsAfterReport(2, -1));  // no report could be shown: go on
}

// Which languages the system has texts in, for the fake look-up below.
bool gFrenchThere, gEnglishThere, gOwnThere;

// The language of the texts first, where Windows has its messages in it.
TEST(SystemErrorText, TheTextsLanguageElseEnglishElseTheUsersElseTheNumber) {
    auto lookUp = [](DWORD, DWORD language, std::wstring& text) {
        bool english = language == 0x0409, french = language == 0x040C;
        text = english ? L"Access is denied.\r\n" : french ? L"Acc\u00e8s refus\u00e9.\r\n"
                                                        : L"Zugriff verweigert.\r\n";
        return english ? gEnglishThere : french ? gFrenchThere : gOwnThere;
    };
    struct Case { LANGID language; bool french, english, own; std::wstring text; };
    const LANGID french = FindLanguage(L"fr");
    const Case cases[] = {
        {kEnglish, true, true, true, L"Access is denied.\r\n"},
        {kEnglish, true, false, true, L"Zugriff verweigert.\r\n"},
        {kEnglish, true, false, false, L"Error 5 (0x00000005)\r\n"},
        {french, true, true, true, L"Acc\u00e8s refus\u00e9.\r\n"},
        {french, false, true, true, L"Access is denied.\r\n"},
        {french, false, false, false, L"Erreur 5 (0x00000005)\r\n"},
    };
    for (const Case& c : cases) {
        gFrenchThere = c.french;
        gEnglishThere = c.english;
        gOwnThere = c.own;
        EXPECT_EQ(SystemErrorText(ERROR_ACCESS_DENIED, c.language, lookUp), c.text);
    }
    // The real look-up: a code without any system text still gets its number.
    EXPECT_EQ(SystemErrorText(0x20001234, kEnglish), L"Error 536875572 (0x20001234)\r\n");
    // A text with inserts comes as it is, not as a failed look-up.
    EXPECT_NE(SystemErrorText(ERROR_BAD_EXE_FORMAT, kEnglish).find(L"%1"), std::wstring::npos);
}

}  // namespace
