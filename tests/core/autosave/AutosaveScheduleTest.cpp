#include "autosave/AutosaveSchedule.h"

#include <gtest/gtest.h>

namespace {

class AutosaveScheduleTest : public ::testing::Test {
protected:
    AutosaveSchedule::TimePoint now{};
    AutosaveSchedule schedule{[this] { return now; }};
    const int doc = 0; // the address identifies the document
    const int other = 0;

    void Advance(int seconds) { now += std::chrono::seconds(seconds); }
};

TEST_F(AutosaveScheduleTest, AChangeIsDueOneIntervalAfterItWasFirstSeen) {
    schedule.SetInterval(300);
    EXPECT_FALSE(schedule.Due(&doc, true, 1));
    Advance(299);
    EXPECT_FALSE(schedule.Due(&doc, true, 2)); // later changes do not push it back
    Advance(1);
    EXPECT_TRUE(schedule.Due(&doc, true, 2));
    schedule.Saved(&doc, 2);
    Advance(1000);
    EXPECT_FALSE(schedule.Due(&doc, true, 2)); // nothing new since the autosave
    EXPECT_FALSE(schedule.Due(&doc, true, 3));
    Advance(300);
    EXPECT_TRUE(schedule.Due(&doc, true, 3));
}

TEST_F(AutosaveScheduleTest, UnmodifiedDocumentsAndIntervalZeroAreNeverDue) {
    schedule.SetInterval(10);
    EXPECT_FALSE(schedule.Due(&doc, false, 5));
    Advance(100);
    EXPECT_FALSE(schedule.Due(&doc, false, 5));
    // Saving by the user clears the flag: the wait starts again with the next change.
    EXPECT_FALSE(schedule.Due(&doc, true, 6));
    Advance(9);
    EXPECT_FALSE(schedule.Due(&doc, true, 6));

    schedule.SetInterval(0);
    EXPECT_FALSE(schedule.Due(&other, true, 1));
    Advance(100000);
    EXPECT_FALSE(schedule.Due(&other, true, 1));
    schedule.SetInterval(60);
    EXPECT_TRUE(schedule.Due(&other, true, 1));
}

TEST_F(AutosaveScheduleTest, DocumentsAreTimedApartAndAFailureIsRetriedAnIntervalLater) {
    schedule.SetInterval(60);
    EXPECT_FALSE(schedule.Due(&doc, true, 1));
    Advance(30);
    EXPECT_FALSE(schedule.Due(&other, true, 1));
    Advance(30);
    EXPECT_TRUE(schedule.Due(&doc, true, 1));
    EXPECT_FALSE(schedule.Due(&other, true, 1));
    schedule.Saved(&doc, 1);
    schedule.Failed(&doc);
    EXPECT_FALSE(schedule.Due(&doc, true, 1));
    Advance(60);
    EXPECT_TRUE(schedule.Due(&doc, true, 1));
    EXPECT_TRUE(schedule.Due(&other, true, 1));
}

} // namespace
