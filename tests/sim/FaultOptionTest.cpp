#include "SimTestSupport.h"

#include "sim/FaultOption.h"

#include <gtest/gtest.h>

using namespace quillosim;
using simtest::RawHost;

TEST(FaultOption, NamesEveryModeAndRefusesBadModesAndCounts)
{
    SimFaults faults;
    std::string error;
    ASSERT_TRUE(FaultOption::parse("unplug@120", faults, error)) << error;
    EXPECT_EQ(faults.afterReports, 120);
    EXPECT_EQ(faults.failWriteAt, 1);
    EXPECT_EQ(faults.failReadAt, 1);
    ASSERT_TRUE(FaultOption::parse("garbage", faults, error));
    EXPECT_TRUE(faults.garbage);
    EXPECT_EQ(faults.afterReports, 0);
    EXPECT_EQ(faults.failWriteAt, 0) << "a new fault replaces the one before";

    // Each mode sets a fault and has its line in --help.
    for (const FaultOption::Mode &mode : FaultOption::modes()) {
        SimFaults set;
        ASSERT_TRUE(FaultOption::parse(std::string(mode.name) + "@0", set, error)) << mode.name;
        EXPECT_TRUE(set.failWriteAt || set.failReadAt || set.noEndMarker || set.garbage
                    || set.oversize || set.foreignRecords || set.silent || set.versionBusy)
            << mode.name;
        EXPECT_NE(FaultOption::describeModes(2).find(std::string("  ") + mode.name + " "),
                  std::string::npos);
    }

    faults = SimFaults{};
    faults.silent = true;
    for (const char *bad :
         {"", "Unplug", "unplug@", "unplug@-1", "unplug@+3", "unplug@1x", "unplug@ 4",
          "unplug@1000000001", "unplug@99999999999999999999", "silence@4@5", "@4", "noise"}) {
        error.clear();
        EXPECT_FALSE(FaultOption::parse(bad, faults, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_TRUE(faults.silent) << "a refused option leaves the faults as they were";
    FaultOption::parse("noise@3", faults, error);
    EXPECT_NE(error.find("unplug"), std::string::npos) << "the refusal lists the modes: " << error;
}

// The count runs over reports in both directions, and answers already waiting when the fault
// wakes are shaped too, so that an exchange breaks in the middle.
TEST(FaultOption, AFaultWakesAfterItsCountInTheMiddleOfAnExchange)
{
    auto keyboard = SimKeyboard::create(4);
    RawHost host(keyboard);
    SimFaults faults;
    std::string error;
    ASSERT_TRUE(FaultOption::parse("silence@4", faults, error));
    keyboard->setFaults(faults);
    ASSERT_TRUE(
        host.command(0xE2)); // report 1; the light area comes in six data reports and an end
    Report answer(64, 0);
    unsigned int length = 64;
    for (int i = 0; i < 3; ++i) { // reports 2..4
        length = 64;
        EXPECT_TRUE(host.transport.readReport(answer.data(), length, 50)) << i;
    }
    EXPECT_TRUE(host.readAll(20).empty()) << "silent from the fourth report on";

    ASSERT_TRUE(FaultOption::parse("write-fails@2", faults, error));
    keyboard->setFaults(faults);
    EXPECT_TRUE(host.command(0xF9));
    EXPECT_TRUE(host.command(0xF9));
    EXPECT_TRUE(keyboard->isPlugged());
    EXPECT_FALSE(host.command(0xF9));
    EXPECT_FALSE(keyboard->isPlugged());
}
