#pragma once

#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"
#include "tests/support/FirmwareText.h"

#include <quillodev/Quillodev.h>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace simtest {

// The program's side: the device library finds the emulated keyboard among decoys.
class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { attach(4); }
    void TearDown() override { quillodev::setHidBackend(nullptr); }

    void attach(int variant)
    {
        keyboard = quillosim::SimKeyboard::create(variant);
        backend = std::make_shared<quillosim::SimHidBackend>(keyboard, true);
        quillodev::setHidBackend(backend);
    }

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    std::shared_ptr<quillosim::SimHidBackend> backend;
};

class ProgressLog : public MessageTarget {
public:
    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t) override
    {
        std::lock_guard lock(m_mutex);
        if (message == quillodev::DeviceMessageProgress)
            m_values.push_back(int(wParam));
    }
    std::vector<int> values() const
    {
        std::lock_guard lock(m_mutex);
        return m_values;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<int> m_values;
};

// A key configuration array for every slot: all three record kinds in every play mode, long
// records, and macros of 1600 data bytes and more.
std::vector<int> configurationFor(int slot);
// The array getKeyConfiguration gives back for `config`, with `untouched` where the keyboard
// cannot return an element (the last delay of a macro).
std::vector<int> expectedReadBack(const std::vector<int> &config, int untouched);

} // namespace simtest
