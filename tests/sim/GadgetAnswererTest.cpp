#include "../profile/TempFolder.h"
#include "SimTestSupport.h"

#include "sim/GadgetAnswerer.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"
#include "sim/TracingBackend.h"

#include <quillodev/CNuboHWI.h>
#include <quillodev/HidBackend.h>

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <future>
#include <sstream>
#include <thread>

using namespace quillosim;
using simtest::payload;

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

Report bytesOf(const std::string &traceLine)
{
    Report bytes;
    std::istringstream in(traceLine.substr(1));
    for (int byte; in >> std::hex >> byte;)
        bytes.push_back(std::uint8_t(byte));
    return bytes;
}

// What `quillo-cli --sim 4 --trace FILE version` writes to FILE.
std::string programTraceOfVersion(const std::filesystem::path &path)
{
    auto trace = std::make_shared<ReportTrace>();
    EXPECT_TRUE(trace->open(path.string()));
    quillodev::setHidBackend(std::make_shared<TracingBackend>(
        std::make_shared<SimHidBackend>(SimKeyboard::create(4)), trace));
    {
        CNuboHWI facade;
        EXPECT_TRUE(facade.__createDev());
        wchar_t text[64] = {};
        EXPECT_TRUE(facade.ReadKeyboardVersion(text));
    }
    quillodev::setHidBackend(nullptr);
    std::string error;
    EXPECT_TRUE(trace->close(error)) << error;
    return readBytes(path);
}

// A gadget whose host may let go of it (the chosen write, or every write while unbound, fails
// as the unbound device's do) or be slow to take answers (every so many writes find the last
// one not yet taken).
class Cable : public GadgetAnswerer {
public:
    using GadgetAnswerer::GadgetAnswerer;
    std::atomic<int> failWrite{0};
    std::atomic<bool> unbound{false};
    std::atomic<int> busyEvery{0};

protected:
    ssize_t writeDevice(const unsigned char *report, std::size_t size) override
    {
        ++m_writes;
        if (m_writes == failWrite || unbound) {
            errno = ESHUTDOWN;
            return -1;
        }
        if (busyEvery > 0 && m_writes % busyEvery == 0) {
            errno = EAGAIN;
            return -1;
        }
        return GadgetAnswerer::writeDevice(report, size);
    }

private:
    int m_writes = 0;
};

// The gadget's device and the host's end of it, as a socket pair that keeps report boundaries,
// and the answerer running on it until stopped.
class Gadget : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, m_device), 0);
        // Room for a few answers only, as the gadget has.
        const int room = 4096;
        ASSERT_EQ(::setsockopt(m_device[0], SOL_SOCKET, SO_SNDBUF, &room, sizeof room), 0);
        ASSERT_EQ(::pipe(m_stop), 0);
        answerer = std::make_unique<Cable>(m_device[0], keyboard);
        answerer->setLog([this](const std::string &line) { logged.push_back(line); });
    }
    void TearDown() override
    {
        if (m_running.valid())
            stop();
        answerer.reset();
        for (int fd : {m_device[0], m_device[1], m_stop[0], m_stop[1]}) {
            if (fd >= 0)
                ::close(fd);
        }
    }

    void start()
    {
        m_running = std::async(std::launch::async, [this] { return answerer->run(m_stop[0]); });
    }
    std::string stop()
    {
        EXPECT_EQ(::write(m_stop[1], "x", 1), 1);
        const std::string result = m_running.get();
        char drained;
        EXPECT_EQ(::read(m_stop[0], &drained, 1), 1);
        return result;
    }
    std::string finished() { return m_running.get(); }

    void send(const Report &report)
    {
        ASSERT_EQ(::send(m_device[1], report.data(), report.size(), 0), ssize_t(report.size()));
    }
    Report receive()
    {
        Report report(256, 0);
        const ssize_t size = ::recv(m_device[1], report.data(), report.size(), 0);
        report.resize(std::size_t(std::max<ssize_t>(size, 0)));
        return report;
    }
    void hangUp()
    {
        ::close(m_device[1]);
        m_device[1] = -1;
    }
    // Every report waiting at the host's end.
    std::vector<Report> drain()
    {
        std::vector<Report> reports;
        for (pollfd entry{m_device[1], POLLIN, 0}; ::poll(&entry, 1, 0) == 1;)
            reports.push_back(receive());
        return reports;
    }
    // Whether the host's end holds so many answers that the device takes no more.
    bool deviceFull() const
    {
        pollfd entry{m_device[0], POLLOUT, 0};
        return ::poll(&entry, 1, 0) == 0;
    }

    std::shared_ptr<SimKeyboard> keyboard = SimKeyboard::create(4);
    std::unique_ptr<Cable> answerer;
    std::vector<std::string> logged;

private:
    int m_device[2] = {-1, -1};
    int m_stop[2] = {-1, -1};
    std::future<std::string> m_running;
};

} // namespace

TEST_F(Gadget, AnswersAndTracesAsTheProgramSeesTheKeyboard)
{
    TempFolder folder;
    const std::string expected = programTraceOfVersion(folder / "program.trace");
    const std::vector<std::string> lines = linesOf(expected);
    ASSERT_EQ(lines.size(), 2u);
    const Report written = bytesOf(lines[0]);
    ASSERT_EQ(written.size(), 65u);

    auto trace = std::make_shared<ReportTrace>();
    ASSERT_TRUE(trace->open((folder / "gadget.trace").string()));
    answerer->setTrace(trace);
    start();
    // A host that sends the report number along, and a report cut short: neither reaches the
    // keyboard nor the trace.
    send(written);
    send(Report(written.begin() + 1, written.end() - 1));
    send(Report(written.begin() + 1, written.end()));
    EXPECT_EQ(receive(), bytesOf(lines[1]));
    EXPECT_EQ(stop(), "");

    std::string error;
    ASSERT_TRUE(trace->close(error)) << error;
    EXPECT_EQ(readBytes(folder / "gadget.trace"), expected);
    const GadgetAnswerer::Counts counts = answerer->counts();
    EXPECT_EQ(counts.refused, 2);
    EXPECT_EQ(counts.reportsIn, 1);
    EXPECT_EQ(counts.answersOut, 1);
    EXPECT_EQ(keyboard->stats().reportsReceived, 1);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0], "refused a report of 65 bytes (the keyboard's are 64); further ones are "
                         "only counted");
}

TEST_F(Gadget, StopsWhileWaitingForTheHostEitherWay)
{
    // Waiting for the host's next report.
    start();
    send(payload({0, 0xF9}));
    EXPECT_EQ(receive()[1], 0xF9);
    EXPECT_EQ(stop(), "");

    // Waiting for the host to read answers it asked for: the key table is far more than the
    // device holds.
    answerer->busyEvery = 3;
    start();
    send(payload({0, 0xF2}));
    std::vector<Report> table{receive()};
    while (!deviceFull())
        std::this_thread::yield();
    EXPECT_EQ(stop(), "");
    EXPECT_LT(keyboard->stats().reportsSent, 216);

    // The answers waited for the host, whole and in order, through the stop too.
    simtest::RawHost direct(SimKeyboard::create(4));
    ASSERT_TRUE(direct.command(0xF2));
    const std::vector<Report> expected = direct.readAll();
    start();
    while (table.size() < expected.size() && table.back()[1] != 0xF6)
        table.push_back(receive());
    EXPECT_EQ(table, expected);
}

TEST_F(Gadget, HostLettingGoResetsTheKeyboardWhichAnswersAgain)
{
    answerer->failWrite = 2;
    start();
    send(payload({0, 0xF2}));
    EXPECT_EQ(receive()[1], 0xF0);
    // The rest of the key table is lost with the keyboard's power: nothing more comes before
    // the next exchange, which is whole.
    while (answerer->counts().cableResets == 0)
        std::this_thread::yield();
    send(payload({0, 0xF9}));
    const Report version = receive();
    ASSERT_EQ(version.size(), 64u);
    EXPECT_EQ(version[1], 0xF9);
    EXPECT_EQ(version[2], 'V');

    // Unbound while the host reads nothing: the device never becomes writable, yet the
    // keyboard hears of it and has nothing left to say once bound again.
    send(payload({0, 0xF2}));
    while (!deviceFull())
        std::this_thread::yield();
    answerer->unbound = true;
    while (answerer->counts().cableResets < 2)
        std::this_thread::yield();
    answerer->unbound = false;
    const std::size_t before = drain().size();
    send(payload({0, 0xF9}));
    EXPECT_EQ(receive()[1], 0xF9);

    // A device that is gone for good ends the answerer.
    hangUp();
    EXPECT_EQ(finished(), "the device was closed");

    const GadgetAnswerer::Counts counts = answerer->counts();
    EXPECT_EQ(counts.cableResets, 2);
    EXPECT_EQ(counts.answersDropped, 2);
    EXPECT_EQ(counts.answersOut, 2 + int(before) + 1);
    EXPECT_TRUE(keyboard->isPlugged());
}
