#pragma once

#include <quillodev/CNuboUtil.h>
#include <quillodev/HidBackend.h>
#include <quillodev/MessageTarget.h>

#include <array>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using Payload = std::array<unsigned char, 64>;

inline Payload payloadOf(std::initializer_list<int> bytes)
{
    Payload p{};
    size_t i = 0;
    for (int b : bytes)
        p[i++] = static_cast<unsigned char>(b);
    return p;
}

// A keyboard that answers from a script: reads take the queued payloads in order and fail
// (as a timeout would) once the queue is empty.
class FakeTransport : public CNuboUtil {
public:
    bool writeReport(const unsigned char *report, unsigned int length) override
    {
        if (failWriteAt >= 0 && int(written.size()) == failWriteAt)
            return false;
        writtenLengths.push_back(length);
        Payload p{};
        std::memcpy(p.data(), report + 1, 64);
        reportNumbers.push_back(report[0]);
        written.push_back(p);
        if (onWrite)
            onWrite(p);
        return true;
    }

    bool readReport(unsigned char *buffer, unsigned int &length, int timeoutMs) override
    {
        timeouts.push_back(timeoutMs);
        if (onRead)
            onRead();
        if (answers.empty())
            return false;
        std::memcpy(buffer, answers.front().data(), std::min<unsigned int>(length, 64));
        answers.pop_front();
        return true;
    }

    std::vector<Payload> written;
    std::vector<unsigned int> writtenLengths;
    std::vector<unsigned char> reportNumbers;
    std::deque<Payload> answers;
    std::vector<int> timeouts;
    int failWriteAt = -1;
    std::function<void(const Payload &)> onWrite;
    std::function<void()> onRead;
};

// Presents fixed interface paths and opens each as a FakeTransport that the test can reach.
class FakeBackend : public quillodev::HidBackend {
public:
    std::vector<std::wstring> interfacePaths() override
    {
        ++enumerations;
        return paths;
    }
    std::unique_ptr<CNuboUtil> open(const std::wstring &path) override
    {
        opened.push_back(path);
        auto transport = std::make_unique<FakeTransport>();
        if (prepareTransport)
            prepareTransport(*transport);
        last = transport.get();
        return transport;
    }

    std::vector<std::wstring> paths;
    std::vector<std::wstring> opened;
    int enumerations = 0;
    FakeTransport *last = nullptr;
    std::function<void(FakeTransport &)> prepareTransport;
};

struct Post {
    unsigned int message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Post &) const = default;
};

class RecordingTarget : public MessageTarget {
public:
    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        posts.push_back({message, wParam, lParam});
    }
    std::vector<Post> posts;
};
