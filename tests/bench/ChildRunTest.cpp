#include "ChildRun.h"
#include "BenchCsv.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> shell(const std::string &script)
{
    return {"/bin/sh", "-c", script};
}

ChildOptions withoutPaint()
{
    ChildOptions options;
    options.expectPainted = false;
    return options;
}

} // namespace

TEST(ChildRun, TimesTheChildToItsPaintedLineAndItsEndAndReadsItsMemoryBetween)
{
    ChildOptions options;
    options.environment = {"FOOTPRINT_WORD=window"};
    options.samplesAfterPaint = {0.1};
    ChildRun run
        = runChild(shell("sleep 0.1; echo \"$FOOTPRINT_WORD painted\"; sleep 0.4"), options);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_EQ(run.output, "window painted\n");
    EXPECT_GE(run.paintedSeconds, 0.09);
    EXPECT_GE(run.exitSeconds - run.paintedSeconds, 0.35);
    ASSERT_EQ(run.samples.size(), 1u);
    EXPECT_GT(run.samples[0].rss, 0);

    // Each way a run can fail says so, and none waits longer than it must.
    run = runChild(shell("echo painted; exit 3"));
    EXPECT_FALSE(run.ok);
    EXPECT_NE(run.error.find("exited with 3"), std::string::npos) << run.error;
    run = runChild(shell("echo drawn; echo oops >&2"));
    EXPECT_FALSE(run.ok);
    EXPECT_NE(run.error.find("never said"), std::string::npos) << run.error;
    EXPECT_NE(run.error.find("oops"), std::string::npos) << run.error;
    EXPECT_TRUE(runChild(shell("echo drawn"), withoutPaint()).ok);
    options.samplesAfterPaint = {2.0};
    run = runChild(shell("echo painted"), options);
    EXPECT_FALSE(run.ok);
    EXPECT_LT(run.exitSeconds, 1.5);
    ChildOptions impatient;
    impatient.timeoutSeconds = 0.3;
    run = runChild(shell("echo painted; sleep 5"), impatient);
    EXPECT_FALSE(run.ok);
    EXPECT_LT(run.exitSeconds, 2.0);
    EXPECT_FALSE(runChild({"/nonexistent/program"}).ok);
}

// The kernel counts the memory the parent holds at the exec into the child's peak: the peak
// is the child's own only when it is above the parent's.
TEST(ChildRun, PeakIsTheChildsOwnOrMarkedUnknown)
{
    const std::vector<std::string> buffer{"/bin/dd", "if=/dev/zero", "of=/dev/null",
                                          "bs=160M", "count=1",      "status=none"};
    ChildRun run = runChild(buffer, withoutPaint());
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_TRUE(run.peakKnown);
    EXPECT_GE(run.peakKiB, 160 * 1024);
    EXPECT_LT(run.peakKiB, 200 * 1024);

    std::vector<std::uint8_t> ours(std::size_t(320) << 20);
    for (std::size_t i = 0; i < ours.size(); i += 4096)
        ours[i] = 1;
    run = runChild(buffer, withoutPaint());
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_FALSE(run.peakKnown) << run.peakKiB;
}

TEST(ChildRun, ProcStatusFieldsInKiB)
{
    const auto memory = parseProcStatus("Name:\tquillo-sim\nVmHWM:\t  100500 kB\nVmRSS:\t   98000 "
                                        "kB\nRssAnon:\t   70000 kB\nRssFile:\t   27000 kB\n"
                                        "RssShmem:\t    1000 kB\nThreads:\t3\n");
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory->hwm, 100500);
    EXPECT_EQ(memory->rss, 98000);
    EXPECT_EQ(memory->anon, 70000);
    EXPECT_EQ(memory->file, 27000);
    EXPECT_EQ(memory->shmem, 1000);
    // A process that has ended keeps no memory fields; a field in another unit is not guessed.
    EXPECT_FALSE(parseProcStatus("Name:\tquillo-sim\nState:\tZ (zombie)\n"));
    EXPECT_FALSE(parseProcStatus("VmRSS:\t98 MB\n"));
}

TEST(BenchCsv, RowsInMillisecondsWithTheirFailures)
{
    const std::string text
        = "2026-01-01T00:00:00+00:00\n"
          "name,iterations,real_time,cpu_time,time_unit,bytes_per_second,items_per_second,label,"
          "error_occurred,error_message\n"
          "\"BM_OpenFirst/KeySettings/Macro/iterations:1/manual_time\",1,17.5,40,ms,,,"
          "\"first in process\",,\n"
          "Quillo(RGB): OK!!\n"
          "\"BM_Load/1_median\",5,156180,156000,us,1.2e+08,,,,\n"
          "\"BM_Fast, \"\"quoted\"\"\",100,2500,2400,ns,,,,,\r\n"
          "\"BM_Slow\",1,1.5,1.5,s,,,,,\n"
          "\"BM_Broken\",,,,,,,,true,\"the dialog never painted\"\n";
    const std::vector<BenchRow> rows = parseBenchmarkCsv(text);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].label, "first in process");
    EXPECT_DOUBLE_EQ(rows[0].milliseconds, 17.5);
    EXPECT_DOUBLE_EQ(rows[1].milliseconds, 156.18);
    EXPECT_EQ(rows[2].name, "BM_Fast, \"quoted\"");
    EXPECT_DOUBLE_EQ(rows[2].milliseconds, 0.0025);
    EXPECT_DOUBLE_EQ(rows[3].milliseconds, 1500);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(rows[std::size_t(i)].failed) << i;
    EXPECT_TRUE(rows[4].failed);
    EXPECT_EQ(rows[4].errorMessage, "the dialog never painted");
    EXPECT_EQ(findRow(rows, "BM_Slow"), &rows[3]);
    EXPECT_EQ(findRow(rows, "BM_Load/1"), nullptr);
    EXPECT_TRUE(parseBenchmarkCsv("no header at all\n\"BM_x\",1,2,3,ms\n").empty());
}

TEST(QuitAfter, QuilloSimEndsThatLongAfterItsFirstPaint)
{
    for (const char *bad : {"0", "-1", "1e3", "abc", "86401", "inf", ""}) {
        const ChildRun run = runChild({QUILLO_SIM, "--quit-after", bad}, withoutPaint());
        EXPECT_NE(run.error.find("exited with 2"), std::string::npos) << bad << ": " << run.error;
    }
    EXPECT_NE(runChild({QUILLO_SIM, "--quit-after"}, withoutPaint()).error.find("exited with 2"),
              std::string::npos);

    ChildOptions options;
    options.environment = {"QT_QPA_PLATFORM=offscreen"};
    options.samplesAfterPaint = {0.3};
    ChildRun run = runChild({QUILLO_SIM, "--quit-after", "0.8"}, options);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_GE(run.exitSeconds - run.paintedSeconds, 0.75);
    ASSERT_EQ(run.samples.size(), 1u);
    EXPECT_GT(run.samples[0].rss, 0);

    // With a screenshot the picture comes at the paint, and the program stays up as asked.
    const std::filesystem::path shot = std::filesystem::temp_directory_path()
                                       / ("quit-after-" + std::to_string(getpid()) + ".png");
    run = runChild({QUILLO_SIM, "--screenshot", shot.string(), "--quit-after", "0.8"}, options);
    ASSERT_TRUE(run.ok) << run.error;
    EXPECT_GE(run.exitSeconds - run.paintedSeconds, 0.75);
    EXPECT_GT(std::filesystem::file_size(shot), 0u);
    std::filesystem::remove(shot);
}
