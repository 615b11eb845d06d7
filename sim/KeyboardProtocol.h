#pragma once

#include "sim/FirmwareLoader.h"
#include "sim/KeyboardMemory.h"
#include "sim/SimConstants.h"
#include "sim/SimStats.h"

#include <cstdint>
#include <vector>

namespace quillosim {

// The keyboard's side of the report protocol: takes the host's reports one at a time, keeps
// its memory up to date and produces the answers. Not thread-safe; SimKeyboard serialises it.
class KeyboardProtocol {
public:
    enum class Exchange {
        None,
        WriteKeys,
        ReadKeys,
        WriteLights,
        ReadLights,
        ReadCounters,
        Version
    };

    struct Outcome {
        bool command = false;               // the report started a new exchange
        Exchange exchange = Exchange::None; // the exchange it started
    };

    explicit KeyboardProtocol(KeyboardMemory memory);

    // Takes the 64-byte payload of one host report; appends the keyboard's answers.
    Outcome receive(const std::uint8_t *payload, std::vector<Report> &answers);
    // Forgets the exchange in progress.
    void reset();
    // Forgets everything but the flash, as a keyboard does when it loses power.
    void powerLoss();

    KeyboardMemory &memory() { return m_memory; }
    const KeyboardMemory &memory() const { return m_memory; }
    const FirmwareLoader &firmware() const { return m_firmware; }
    SimStats &stats() { return m_stats; }
    const SimStats &stats() const { return m_stats; }

private:
    enum class State { Idle, ReceivingKeys, ReceivingLights };

    Exchange startCommand(std::uint8_t command, std::vector<Report> &answers);
    void receiveKeyReport(const std::uint8_t *payload);
    void receiveLightReport(const std::uint8_t *payload);
    void store(int slot, Report record);
    void dropPartialMacro();
    void answerKeys(std::vector<Report> &answers) const;
    static void answerArea(std::uint8_t marker, const std::uint8_t *data, int size,
                           std::vector<Report> &answers);
    void answerVersion(std::vector<Report> &answers) const;

    KeyboardMemory m_memory;
    FirmwareLoader m_firmware;
    SimStats m_stats;
    State m_state = State::Idle;
    Report m_macro; // blocks of a macro still being received
    int m_macroSlot = -1;
    std::size_t m_macroBlocks = 0;
    int m_lightOffset = 0;
};

} // namespace quillosim
