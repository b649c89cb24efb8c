// The worker's decisions for each situation of a transfer.
#include "transfer/TransferDecisions.h"

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

TEST(DisassociationExtension, IsTheFirstFilesTextFromItsLastDot) {
    EXPECT_EQ(DisassociationExtension({L"c:\\music\\song.MP3", L"c:\\x\\y.txt"}), L".MP3");
    EXPECT_EQ(DisassociationExtension({L"c:\\my.files\\readme"}), L".files\\readme");
    EXPECT_EQ(DisassociationExtension({L"c:\\files\\readme"}), L"<none>");
    EXPECT_EQ(DisassociationExtension({}), L"<none>");
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

TEST(FailedFile, CancelledCallsAreSilentAndNoEndsOnlyASeveralFileJob) {
    EXPECT_FALSE(ReportsFailure(ERROR_REQUEST_ABORTED));
    EXPECT_TRUE(ReportsFailure(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(EndsAfterReport(2, IDNO));
    EXPECT_FALSE(EndsAfterReport(2, IDYES));
    EXPECT_FALSE(EndsAfterReport(1, IDOK));
    EXPECT_FALSE(EndsAfterReport(2, -1));  // no report could be shown: go on
}

}  // namespace
