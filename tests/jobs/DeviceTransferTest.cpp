#include "jobs/DeviceTransfer.h"
#include "jobs/FirmwareBackup.h"
#include "model/AppState.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using quillosim::SimKeyboard;
using Status = TransferResult::Status;

namespace {

struct ProgressLog : MessageTarget {
    std::vector<std::uintptr_t> progressSlots;
    void post(unsigned int message, std::uintptr_t wParam, std::intptr_t) override
    {
        if (message == quillodev::DeviceMessageProgress)
            progressSlots.push_back(wParam);
    }
};

// An emulated keyboard of one variant, attached as the only HID device.
class DeviceTransferTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        keyboard = SimKeyboard::create(variant());
        ASSERT_TRUE(keyboard);
        quillodev::setHidBackend(std::make_shared<quillosim::SimHidBackend>(keyboard));
    }
    void TearDown() override { quillodev::setHidBackend(nullptr); }

    int variant() const { return GetParam(); }

    // A program state as after start-up: the variant's defaults and an open device.
    std::unique_ptr<AppState> openState()
    {
        auto state = std::make_unique<AppState>();
        state->deviceType = variant();
        state->resetKeyModel();
        EXPECT_TRUE(state->hwi.__createDev());
        return state;
    }

    std::shared_ptr<SimKeyboard> keyboard;
};

ActionList action(int pageRows, std::vector<std::string> steps)
{
    ActionList list(pageRows);
    for (const std::string &step : steps)
        list.setAt(20000, step);
    return list;
}

void assign(AppState &state, int key, int layer, int category, int code, ActionList list = {})
{
    state.setAssignment(key, layer, {category, code, std::move(list)});
}

// Every kind of assignment, on keys spread over both layers.
void configureEverything(AppState &state)
{
    assign(state, 2, 0, 2, 0, action(6, {"LCTRL", "LALT", "DEL"}));
    assign(state, 3, 1, 2, 0, action(6, {"LSHIFT", "(Enter)", "Mouse Key Left", "<>|"}));
    for (int mode = 0; mode < 3; ++mode) {
        ActionList recorded = action(9, {"A Down", "<25 ms>", "LSHIFT Down", "<0 ms>", "A UP",
                                         "<65535 ms>", "LSHIFT UP", "<50 ms>"});
        recorded.playMode = mode;
        recorded.delayMs = 0;
        recorded.times = mode == 0 ? 7 : 1;
        assign(state, 20 + mode, mode % 2, 3, 0, recorded);

        ActionList automatic = action(9, {"(7) Down", "Mouse Wheel Dn", "(7) UP"});
        automatic.autoDelay = true;
        automatic.delayMs = 60000;
        automatic.playMode = mode;
        automatic.times = mode == 0 ? 255 : 1;
        assign(state, 30 + mode, 1 - mode % 2, 3, 0, automatic);
    }
    ActionList emulation = action(9, {"A", "B", "C", "D", "E", "F"});
    emulation.delayMs = 6000;
    assign(state, 40, 0, 4, 0, emulation);
    assign(state, 41, 1, 6, 199); // left double click
    assign(state, 42, 0, 5, 112); // multimedia
    assign(state, 42, 1, 5, 125);
    assign(state, 43, 0, 6, 133); // mouse
    assign(state, 43, 1, 6, 173);
    assign(state, 44, 0, 7, 151); // keyboard function
    assign(state, 45, 0, 8, 75);  // power
    assign(state, 45, 1, 8, 76);
    assign(state, 46, 0, 8, 77);
    assign(state, 46, 1, 1, 204); // the ISO key
    assign(state, 47, 0, 0, 0);   // nothing
    assign(state, 72, 0, 7, 156); // FN on both layers
    assign(state, 72, 1, 7, 156);
}

// What the keyboard cannot carry, applied to what was written: the expected read-back.
KeyAssignment carried(KeyAssignment written)
{
    ActionList &steps = written.action;
    if (written.category == 1 && written.code == 199)
        written.category = 6; // a double click travels as two mouse clicks
    if (written.category != 3)
        return written;
    // Steps travel as key codes only, not as presses and releases.
    for (std::string &step : steps.names.edit()) {
        for (const std::string suffix : {" Down", " UP"}) {
            if (step.size() > suffix.size() && step.ends_with(suffix))
                step.resize(step.size() - suffix.size());
        }
    }
    if (!steps.autoDelay) {
        // The delay after the last key is not read back, and the fixed delay is not sent.
        if (steps.size() % 2 == 0) {
            steps.names.pop_back();
            steps.items.pop_back();
        }
        steps.delayMs = 0;
    }
    if (steps.playMode != 0)
        steps.times = 1; // only times-play sends its count
    return written;
}

// List positions (pageRows, top, selected) do not travel and are not compared.
void expectSameAssignment(const KeyAssignment &read, const KeyAssignment &expected, int key,
                          int layer)
{
    SCOPED_TRACE("key " + std::to_string(key) + " layer " + std::to_string(layer));
    EXPECT_EQ(read.category, expected.category);
    EXPECT_EQ(read.code, expected.code);
    EXPECT_EQ(read.action.names, expected.action.names);
    EXPECT_EQ(read.action.items.size(), read.action.names.size());
    if (expected.category >= 2 && expected.category <= 4) {
        EXPECT_TRUE(read.action.sameAction(expected.action));
        EXPECT_EQ(read.action.pageRows, expected.category == 2 ? 6 : 9);
    }
}

} // namespace

TEST_P(DeviceTransferTest, KeyAssignmentsRoundTrip)
{
    auto source = openState();
    configureEverything(*source);
    ProgressLog progress;
    ASSERT_TRUE(
        DeviceTransfer::writeKeyAssignments(source->hwi, source->catalogue, *source, &progress));
    ASSERT_EQ(progress.progressSlots.size(), 216u);
    EXPECT_EQ(progress.progressSlots.front(), 0u);
    EXPECT_EQ(progress.progressSlots.back(), 215u);
    source->hwi.__closeDev();

    auto target = std::make_unique<AppState>();
    target->deviceType = variant();
    ASSERT_TRUE(target->hwi.__createDev());
    ASSERT_TRUE(
        DeviceTransfer::readKeyAssignments(target->hwi, target->catalogue, *target, nullptr));
    for (int layer = 0; layer < 2; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key) {
            expectSameAssignment(target->assignment(key, layer),
                                 carried(source->assignment(key, layer)), key, layer);
        }
    }

    // What came back travels unchanged from then on.
    ASSERT_TRUE(
        DeviceTransfer::writeKeyAssignments(target->hwi, target->catalogue, *target, nullptr));
    auto again = std::make_unique<AppState>();
    ASSERT_TRUE(again->hwi.__createDev());
    ASSERT_TRUE(DeviceTransfer::readKeyAssignments(again->hwi, again->catalogue, *again, nullptr));
    for (int layer = 0; layer < 2; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key) {
            expectSameAssignment(again->assignment(key, layer), target->assignment(key, layer), key,
                                 layer);
        }
    }
}

TEST_P(DeviceTransferTest, SpecialSingleCodesAndEmptyActions)
{
    auto state = openState();
    assign(*state, 5, 0, 1, 199);                                // single double click
    assign(*state, 6, 0, 3, 0, action(9, {}));                   // macro without steps
    assign(*state, 7, 1, 2, 0, action(6, {"Sleep", "no such"})); // names without codes
    ActionList idle = action(9, {});
    idle.delayMs = 250;
    assign(*state, 8, 1, 4, 0, idle); // emulation without keys
    ASSERT_TRUE(DeviceTransfer::writeKeyAssignments(state->hwi, state->catalogue, *state, nullptr));

    // The keyless emulation arrives as a continuous record that stops after its type byte;
    // the macro without steps as an empty normal record.
    const quillosim::KeyboardMemory memory = keyboard->memory();
    const auto &emulation = memory.records[108 + 8 - 1];
    ASSERT_EQ(emulation.size(), 64u);
    EXPECT_EQ(std::vector<std::uint8_t>(emulation.begin(), emulation.begin() + 5),
              (std::vector<std::uint8_t>{0x00, 0xF0, 2, 8, 1}));
    EXPECT_TRUE(std::all_of(emulation.begin() + 5, emulation.end(), [](auto b) { return b == 0; }));
    const auto &macro = memory.records[6 - 1];
    ASSERT_EQ(macro.size(), 64u);
    EXPECT_EQ(macro[4], 0); // type normal
    EXPECT_EQ(macro[5], 0); // no codes

    auto read = openState();
    ASSERT_TRUE(DeviceTransfer::readKeyAssignments(read->hwi, read->catalogue, *read, nullptr));
    EXPECT_EQ(read->category[AppState::index(5, 0)], 6);
    EXPECT_EQ(read->code[AppState::index(5, 0)], 199);
    EXPECT_EQ(read->category[AppState::index(6, 0)], 0);
    EXPECT_EQ(read->category[AppState::index(8, 1)], 0);
    EXPECT_EQ(read->action[AppState::index(7, 1)].names,
              (std::vector<std::string>{KeyCatalogue::NoName, KeyCatalogue::NoName}));
}

TEST_P(DeviceTransferTest, LightsRoundTrip)
{
    auto source = openState();
    for (int key = 1; key <= AppState::KeyCount; ++key)
        source->lightSettings[std::size_t(key)] = {key, 255 - key, (key * 37) % 256};
    source->lightSettings[9] = {300, -4, 128}; // out of range: clamped, not wrapped
    ASSERT_TRUE(DeviceTransfer::writeLights(source->hwi, source->lightSettings, nullptr));

    auto target = openState();
    ASSERT_TRUE(DeviceTransfer::readLights(target->hwi, target->lightSettings, nullptr));
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        const LightColour expected
            = key == 9 ? LightColour{255, 0, 128} : source->lightSettings[std::size_t(key)];
        EXPECT_EQ(target->lightSettings[std::size_t(key)], expected) << key;
    }
}

TEST_P(DeviceTransferTest, PressCountersAndTheirExtremes)
{
    auto state = openState();
    auto readCounts = [&](std::map<int, std::uint32_t> counts) {
        quillosim::KeyboardMemory memory = keyboard->memory();
        memory.counters.fill(0);
        for (const auto &[key, count] : counts)
            memory.counters[std::size_t(key - 1)] = count;
        keyboard->setMemory(memory);
        EXPECT_TRUE(DeviceTransfer::readPressCounters(state->hwi, state->pressCounters, nullptr));
        return std::pair(state->pressCounters.highestKey, state->pressCounters.lowestKey);
    };

    EXPECT_EQ(readCounts({}), std::pair(-1, -1));
    EXPECT_EQ(state->pressCounters.counts[1], 0); // read now, no longer "not read"
    EXPECT_EQ(readCounts({{3, 5}, {7, 5}}), std::pair(3, 3));
    EXPECT_EQ(readCounts({{1, 4}, {2, 10}, {50, 10}, {60, 2}, {108, 2}}), std::pair(2, 60));
    EXPECT_EQ(readCounts({{108, 1}}), std::pair(108, 108));
    EXPECT_EQ(readCounts({{1, 1}, {2, 9}}), std::pair(2, 1));
    EXPECT_EQ(state->pressCounters.counts[2], 9);
    EXPECT_EQ(state->pressCounters.counts[108], 0);
}

TEST_P(DeviceTransferTest, FailuresAreReportedAndLeaveTheModelAlone)
{
    auto state = openState();
    configureEverything(*state);
    state->lightSettings[1] = {1, 2, 3};
    state->pressCounters.counts[1] = 77;

    // An assignment no record holds stops the write before anything is sent.
    assign(*state, 9, 1, 4, 0, action(9, std::vector<std::string>(57, "A")));
    keyboard->clearTrace();
    TransferResult result
        = DeviceTransfer::writeKeyAssignments(state->hwi, state->catalogue, *state, nullptr);
    EXPECT_EQ(result.status, Status::AssignmentRefused);
    EXPECT_EQ(result.key, 9);
    EXPECT_EQ(result.layer, 1);
    EXPECT_TRUE(keyboard->trace().empty());
    assign(*state, 9, 1, 0, 0);

    // Unplugged at the command nothing reached the keyboard; further on, part of the keys did.
    quillosim::SimFaults faults;
    for (const auto &[at, status] :
         {std::pair{1, Status::DeviceFailed}, std::pair{111, Status::PartlyWritten}}) {
        keyboard->plugIn();
        state->hwi.__closeDev();
        ASSERT_TRUE(state->hwi.__createDev());
        faults.failWriteAt = at;
        keyboard->setFaults(faults);
        EXPECT_EQ(DeviceTransfer::writeKeyAssignments(state->hwi, state->catalogue, *state, nullptr)
                      .status,
                  status)
            << at;
    }

    // The keyboard is gone now: nothing works and nothing in the model changes.
    const KeyAssignment macro = state->assignment(20, 0);
    EXPECT_FALSE(DeviceTransfer::readKeyAssignments(state->hwi, state->catalogue, *state, nullptr));
    EXPECT_FALSE(DeviceTransfer::writeLights(state->hwi, state->lightSettings, nullptr));
    EXPECT_FALSE(DeviceTransfer::readLights(state->hwi, state->lightSettings, nullptr));
    EXPECT_FALSE(DeviceTransfer::readPressCounters(state->hwi, state->pressCounters, nullptr));
    EXPECT_TRUE(state->assignment(20, 0).action.sameAction(macro.action));
    EXPECT_EQ(state->lightSettings[1], (LightColour{1, 2, 3}));
    EXPECT_EQ(state->pressCounters.counts[1], 77);
}

TEST_P(DeviceTransferTest, AReadThatBreaksOffKeepsTheModel)
{
    auto writer = openState();
    configureEverything(*writer);
    ASSERT_TRUE(
        DeviceTransfer::writeKeyAssignments(writer->hwi, writer->catalogue, *writer, nullptr));
    writer->hwi.__closeDev();

    auto state = openState(); // the defaults
    quillosim::SimFaults faults;
    faults.failReadAt = 100; // part way through the key records
    keyboard->setFaults(faults);
    EXPECT_EQ(
        DeviceTransfer::readKeyAssignments(state->hwi, state->catalogue, *state, nullptr).status,
        Status::DeviceFailed);
    for (int layer = 0; layer < 2; ++layer) {
        for (int key = 1; key <= AppState::KeyCount; ++key) {
            const int i = AppState::index(key, layer);
            EXPECT_EQ(state->code[i], KeyCatalogue::defaultCode(variant(), key, layer));
            EXPECT_TRUE(state->action[i].names.empty());
        }
    }
}

TEST_P(DeviceTransferTest, ARecordClaimingMoreCodesThanAReportHoldsFailsTheRead)
{
    // The longest records a report holds read back whole.
    auto writer = openState();
    assign(*writer, 1, 0, 2, 0, action(6, std::vector<std::string>(58, "A")));
    ActionList emulation = action(9, std::vector<std::string>(56, "B"));
    emulation.delayMs = 65535;
    assign(*writer, 2, 0, 4, 0, emulation);
    ASSERT_TRUE(
        DeviceTransfer::writeKeyAssignments(writer->hwi, writer->catalogue, *writer, nullptr));
    writer->hwi.__closeDev();
    auto state = openState();
    ASSERT_TRUE(DeviceTransfer::readKeyAssignments(state->hwi, state->catalogue, *state, nullptr));
    for (const int key : {1, 2}) {
        EXPECT_EQ(state->assignment(key, 0).category, writer->assignment(key, 0).category);
        EXPECT_TRUE(state->assignment(key, 0).action.sameAction(writer->assignment(key, 0).action));
    }

    // Half-way through the answer, records of Esc and F1 claim 255 codes: the read fails and
    // the model keeps what it had, as does a backup before a firmware update.
    quillosim::SimFaults faults;
    faults.oversize = true;
    faults.afterReports = 112;
    keyboard->setFaults(faults);
    const Configuration before = *state;
    EXPECT_EQ(
        DeviceTransfer::readKeyAssignments(state->hwi, state->catalogue, *state, nullptr).status,
        Status::DeviceFailed);
    EXPECT_EQ(state->category, before.category);
    EXPECT_EQ(state->code, before.code);
    for (int i = 0; i < Configuration::EntryCount; ++i)
        EXPECT_EQ(state->action[std::size_t(i)].names, before.action[std::size_t(i)].names) << i;
    keyboard->setFaults(faults);
    EXPECT_EQ(FirmwareBackup::make(state->hwi, state->catalogue, variant(), nullptr).status,
              FirmwareBackup::Result::Status::ReadFailed);
}

TEST(DeviceTransfer, WithoutADeviceEveryTransferFails)
{
    auto state = std::make_unique<AppState>();
    state->resetKeyModel();
    EXPECT_EQ(
        DeviceTransfer::writeKeyAssignments(state->hwi, state->catalogue, *state, nullptr).status,
        Status::DeviceFailed);
    EXPECT_FALSE(DeviceTransfer::readKeyAssignments(state->hwi, state->catalogue, *state, nullptr));
    EXPECT_FALSE(DeviceTransfer::writeLights(state->hwi, state->lightSettings, nullptr));
    EXPECT_FALSE(DeviceTransfer::readLights(state->hwi, state->lightSettings, nullptr));
    EXPECT_FALSE(DeviceTransfer::readPressCounters(state->hwi, state->pressCounters, nullptr));
    EXPECT_EQ(state->pressCounters.highestKey, -1);
}

INSTANTIATE_TEST_SUITE_P(Variants, DeviceTransferTest, ::testing::Values(1, 2, 3, 4));
