// The check timer: connected minutes counted towards the check interval.

#include <gmock/gmock.h>

#include "CheckFixture.h"

namespace vantorel {
namespace {

using ::testing::ElementsAre;

class Scheduler : public fake::CheckFixture {
  protected:
    // The ticks (1-based) at which a check started, over `ticks` ticks.
    std::vector<int> checksOver(int ticks) {
        std::vector<int> started;
        for (int tick = 1; tick <= ticks; ++tick) {
            const auto before = fake.mail.commands.size();
            fake.tick("check timer");
            if (fake.mail.commands.size() != before) {
                started.push_back(tick);
            }
        }
        return started;
    }
};

TEST_F(Scheduler, TheFirstTickAfterStartChecksAndThenEveryIntervalAfterTheLast) {
    startInTray("3");
    mailbox(0);
    // The count starts at the interval, so the first tick checks.
    EXPECT_THAT(checksOver(7), ElementsAre(1, 4, 7));
    EXPECT_EQ(program->scheduler().minutes(), 0);
    EXPECT_TRUE(timerOn("check timer"));
}

TEST_F(Scheduler, OfflineTicksSetTheCountBackToZero) {
    startInTray("3");
    mailbox(0);
    ASSERT_THAT(checksOver(1), ElementsAre(1));
    constexpr std::uint32_t kOffline = 0;
    fake.connection.nextFlags = {platform::ConnectionState::kLan, kOffline, kOffline};
    std::vector<int> counts;
    for (int tick = 0; tick < 4; ++tick) {
        fake.tick("check timer");
        counts.push_back(program->scheduler().minutes());
    }
    EXPECT_THAT(counts, ElementsAre(1, 0, 0, 1));
    EXPECT_THAT(checksOver(2), ElementsAre(2));  // the 6th tick after the check
}

TEST_F(Scheduler, OnlyModemNetworkOrProxyCountAsConnected) {
    startInTray("1");
    mailbox(0);
    for (const std::uint32_t flags : {0x01u, 0x02u, 0x04u, 0x07u, 0x12u}) {
        fake.connection.flags = flags;
        EXPECT_THAT(checksOver(1), ElementsAre(1)) << flags;
    }
    for (const std::uint32_t flags : {0x00u, 0x08u, 0x10u, 0x20u, 0x40u}) {
        fake.connection.flags = flags;
        EXPECT_TRUE(checksOver(1).empty()) << flags;
        EXPECT_EQ(program->scheduler().minutes(), 0) << flags;
    }
}

TEST_F(Scheduler, TheIntervalBoxIsReadAsTheOkButtonReadsIt) {
    const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4}, {"3分", 3}, {" 4", 4},
                                                 {"", 1},    {"0", 1},   {"-7", 1},  {"abc", 1}};
    for (const auto& [text, interval] : cases) {
        startInTray("1");
        mailbox(0);
        checksOver(1);  // the first check after start
        mainForm().userTypes(ctl::IntervalBox, text);
        EXPECT_THAT(checksOver(interval), ElementsAre(interval)) << text;
        program.reset();
    }
}

TEST_F(Scheduler, HugeIntervalsAndCountsNeverStopTheTick) {
    startInTray("1");
    mailbox(0);
    mainForm().userTypes(ctl::IntervalBox, "99999");
    program->scheduler().setMinutes(kInt16Max - 1);
    EXPECT_THAT(checksOver(2), ElementsAre(1));  // the count reaches 32767 and checks

    mainForm().userTypes(ctl::IntervalBox, "1e9");
    program->scheduler().setMinutes(kInt16Max);
    timer("check timer").setEnabled(true);
    EXPECT_THAT(checksOver(1), ElementsAre(1));  // saturated, still at least the interval
}

}  // namespace
}  // namespace vantorel
