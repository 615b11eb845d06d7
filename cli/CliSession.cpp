#include "cli/CliSession.h"

#include "app/DeviceAccessMessage.h"
#include "cli/ChangeNotes.h"
#include "cli/FirmwareProgress.h"
#include "cli/HeatmapFile.h"
#include "cli/JsonReport.h"
#include "cli/KeyEdit.h"
#include "cli/LightEdit.h"
#include "cli/ProfileDiff.h"
#include "cli/TextReport.h"
#include "jobs/DeviceTransfer.h"
#include "jobs/FirmwareBackup.h"
#include "jobs/FirmwareFile.h"
#include "jobs/FirmwareRules.h"
#include "jobs/JobMessages.h"
#include "model/AppState.h"
#include "model/KeyboardModel.h"

#include <quillodev/CNuboHWI.h>
#include <quillodev/HidBackend.h>

#include <QJsonObject>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using Status = CliMessages::Status;

constexpr const char *StandardStream = "-";

// A path as messages name it.
std::string shown(const std::string &path)
{
    return path == StandardStream ? "standard input" : path;
}

// A refused assignment is the profile's; any failed exchange the keyboard's.
Status statusOf(const TransferResult &result)
{
    return result.status == TransferResult::Status::AssignmentRefused ? Status::Failed
                                                                      : Status::Keyboard;
}

std::string transferFailure(const TransferResult &result, const char *what)
{
    // The window's words: the key, and what about it the keyboard cannot take.
    if (result.status == TransferResult::Status::AssignmentRefused)
        return JobMessages::failure(0, result, false);
    // A keyboard gone from the system was unplugged; one still there stopped answering. The
    // system may notice an unplugging a little after the exchange failed.
    bool gone = false;
    for (int look = 0; look < 25 && !gone; ++look) {
        if (look > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        gone = CNuboHWI().DetectDeviceType() == 0;
    }
    return std::string("exchange failed while ") + what
           + (gone ? ": the keyboard was unplugged" : "");
}

} // namespace

CliSession::CliSession(CliOptions options, CliOutput *output)
    : m_options(std::move(options))
    , m_ownOutput(output ? nullptr : std::make_unique<CliOutput>(STDOUT_FILENO))
    , m_out(output ? *output : *m_ownOutput)
    , m_profiles(m_messages, m_out, m_options.lenient)
    , m_state(std::make_unique<AppState>())
{}

CliSession::~CliSession()
{
    // Close the device before the backend that made it goes away.
    m_state.reset();
    quillodev::setHidBackend(nullptr);
}

void CliSession::print(std::string_view text)
{
    m_printed = true;
    m_out.write(text);
}

void CliSession::answer(const QJsonObject &document)
{
    print(JsonReport::text(document, m_messages.notes()));
}

int CliSession::run()
{
    runCommand();
    if (const std::string trace = m_keyboard.finish(); !trace.empty())
        m_messages.fail(trace);
    if (m_options.json && m_messages.failed() && !m_printed)
        answer(JsonReport::failure(m_options.command, m_messages.failure(), m_messages.status()));
    if (!m_out.finish())
        m_messages.fail("cannot write the output: " + m_out.error());
    // Like diff(1), diff says trouble of any kind with 2.
    if (m_options.command == "diff")
        return m_messages.failed() ? Status::BadUsage : (m_differ ? 1 : 0);
    return m_messages.status();
}

bool CliSession::runCommand()
{
    m_state->buildCatalogue();
    m_state->language = "en-US";
    if (const std::string problem = m_keyboard.install(m_options); !problem.empty())
        return m_messages.fail(problem);

    const std::string &command = m_options.command;
    if (command == "detect")
        return detect();
    if (command == "version")
        return version();
    if (command == "show")
        return show();
    if (command == "diff")
        return diff();
    if (command == "counters")
        return counters();
    if (command == "set") {
        return editProfile([this] {
            const KeyEdit::Result result = KeyEdit::apply(
                *m_state, {m_options.key, m_options.layer, m_options.action, m_options.actionName});
            for (const std::string &text : result.notes)
                m_messages.note(text);
            return result.error;
        });
    }
    if (command == "lights") {
        return editProfile([this] {
            return LightEdit::apply(*m_state, {m_options.keyColours, m_options.allColour});
        });
    }
    if (command == "firmware")
        return downloadFirmware();
    return saveCommand();
}

bool CliSession::saveCommand()
{
    const std::string &command = m_options.command;
    const std::string &in = m_options.input;
    const std::string &out = m_options.output;
    bool done = false;
    if (command == "defaults") {
        m_state->deviceType = m_options.variant;
        m_state->resetKeyModel();
        done = m_profiles.save(out, *m_state);
    } else if (command == "convert") {
        done = loadInput(in, *m_state) && m_profiles.save(out, *m_state);
    } else if (command == "write") {
        done = openKeyboard() && loadInput(in, *m_state) && writeToKeyboard();
    } else if (command == "read") {
        // The output is checked first: nothing is read from the keyboard only to be dropped.
        done = m_profiles.checkOutput(out) && openKeyboard() && readFromKeyboard()
               && m_profiles.save(out, *m_state);
    } else if (command == "sync") {
        // OUT is checked before the keyboard changes; once it has, a failure says so.
        done = m_profiles.checkOutput(out) && openKeyboard() && loadInput(in, *m_state)
               && writeToKeyboard();
        if (done && !(readFromKeyboard() && m_profiles.save(out, *m_state))) {
            m_messages.note(
                "the keyboard holds what " + shown(in)
                + " says: it was written before this failure; "
                + (out == StandardStream ? "nothing was printed" : out + " was not written"));
            done = false;
        }
    }
    if (done && m_options.json) {
        QJsonObject document = JsonReport::answer(command, m_state->deviceType);
        if (!in.empty())
            document["input"] = QString::fromStdString(in);
        if (!out.empty())
            document["output"] = QString::fromStdString(out);
        if (command == "write" || command == "sync")
            document["lights"] = KeyboardModel::hasKeyColours(m_state->deviceType);
        answer(document);
    }
    return done;
}

bool CliSession::openKeyboard()
{
    const std::string problem = m_keyboard.open(m_state->hwi);
    m_state->deviceType = m_keyboard.variant();
    if (!problem.empty())
        return m_messages.fail(problem, Status::Keyboard);
    m_state->resetKeyModel();
    return true;
}

bool CliSession::loadInput(const std::string &path, AppState &into)
{
    // What goes to the keyboard must be of its model; elsewhere the profile says which it is.
    const bool toKeyboard = m_options.command == "write" || m_options.command == "sync";
    if (toKeyboard)
        return m_profiles.load(path, into, CliProfiles::Model::Required, m_state->deviceType);
    return m_profiles.load(path, into, CliProfiles::Model::Named, m_options.variant);
}

bool CliSession::writeToKeyboard()
{
    // Said before anything is sent; a step the keyboard would misread stops the write below.
    for (const std::string &line : ChangeNotes::writeAdjustments(*m_state))
        m_messages.note(line);
    const TransferResult keys
        = DeviceTransfer::writeKeyAssignments(m_state->hwi, m_state->catalogue, *m_state, nullptr);
    // Broken off half-way, the keyboard keeps what reached it.
    const std::string again = "; the keyboard may now hold part of the new settings: write "
                              + shown(m_options.input) + " again";
    if (!keys) {
        return m_messages.fail(transferFailure(keys, "writing the key assignments")
                                   + (statusOf(keys) == Status::Keyboard ? again : ""),
                               statusOf(keys));
    }
    if (KeyboardModel::hasKeyColours(m_state->deviceType)) {
        const TransferResult lights
            = DeviceTransfer::writeLights(m_state->hwi, m_state->lightSettings, nullptr);
        if (!lights)
            return m_messages.fail(transferFailure(lights, "writing the lights") + again,
                                   statusOf(lights));
    }
    return true;
}

bool CliSession::readFromKeyboard()
{
    m_state->resetKeyModel();
    const TransferResult keys
        = DeviceTransfer::readKeyAssignments(m_state->hwi, m_state->catalogue, *m_state, nullptr);
    if (!keys)
        return m_messages.fail(transferFailure(keys, "reading the key assignments"),
                               statusOf(keys));
    const TransferResult lights
        = DeviceTransfer::readLights(m_state->hwi, m_state->lightSettings, nullptr);
    if (!lights)
        return m_messages.fail(transferFailure(lights, "reading the lights"), statusOf(lights));
    return true;
}

bool CliSession::detect()
{
    const int variant = m_state->hwi.DetectDeviceType();
    if (variant == 0) {
        m_messages.fail(CliKeyboard::whyNoKeyboard(), Status::Keyboard);
        if (m_options.json) {
            QJsonObject document
                = JsonReport::failure("detect", m_messages.failure(), m_messages.status());
            const QJsonObject none = JsonReport::detect(0);
            for (auto it = none.begin(); it != none.end(); ++it)
                document[it.key()] = it.value();
            answer(document);
        } else {
            print("0\n");
        }
        return false;
    }
    // Present is not usable: a note, so that what follows does not come as a surprise.
    if (const auto problem = quillodev::keyboardOpenProblem())
        m_messages.note(DeviceAccessMessage::line(
            *problem, DeviceAccessMessage::findRule(ResourceLocator::forThisProgram())));
    if (m_options.json)
        answer(JsonReport::detect(variant));
    else
        print(std::to_string(variant) + ' ' + KeyboardModel::name(variant) + '\n');
    return true;
}

bool CliSession::version()
{
    if (!openKeyboard())
        return false;
    const std::string text = m_keyboard.version();
    if (m_options.json)
        answer(JsonReport::version(m_state->deviceType, text));
    else
        print(text + '\n');
    return true;
}

bool CliSession::show()
{
    if (!loadInput(m_options.input, *m_state))
        return false;
    if (m_options.json)
        answer(JsonReport::show(*m_state));
    else
        print(TextReport::show(*m_state));
    return true;
}

bool CliSession::diff()
{
    AppState other;
    other.buildCatalogue();
    other.language = m_state->language;
    if (!loadInput(m_options.input, *m_state) || !loadInput(m_options.input2, other))
        return false;
    if (m_state->deviceType != other.deviceType) {
        return m_messages.fail(shown(m_options.input) + " is a profile of the "
                                   + KeyboardModel::name(m_state->deviceType) + ", "
                                   + shown(m_options.input2) + " of the "
                                   + KeyboardModel::name(other.deviceType)
                                   + "; --variant N compares them as profiles of one model",
                               Status::BadUsage);
    }
    // Both described in the words of A's catalogue: the tables are the same for every state.
    const std::vector<ProfileDiff::Difference> differences
        = ProfileDiff::differences(*m_state, other, m_options.keyboardOnly);
    m_differ = !differences.empty();
    if (std::any_of(differences.begin(), differences.end(),
                    [](const ProfileDiff::Difference &d) { return d.sameOnKeyboard; }))
        m_messages.note("differences marked \"same on the keyboard\" are in what the keyboard "
                        "does not keep (a step's Down or UP, a recorded macro's unused delay, the "
                        "lists, lights where the model has none); --keyboard leaves them out");
    if (m_options.json) {
        answer(JsonReport::diff(*m_state, other, differences));
        return true;
    }
    std::string text;
    for (const ProfileDiff::Difference &difference : differences)
        text += ProfileDiff::line(difference) + '\n';
    print(text);
    return true;
}

bool CliSession::counters()
{
    // The picture's file is checked before the keyboard is asked.
    const std::string &heatmap = m_options.heatmap;
    if (!heatmap.empty() && !m_profiles.checkOutput(heatmap, CliProfiles::OutputKind::Heatmap))
        return false;
    if (!openKeyboard())
        return false;
    const TransferResult result
        = DeviceTransfer::readPressCounters(m_state->hwi, m_state->pressCounters, nullptr);
    if (!result)
        return m_messages.fail(transferFailure(result, "reading the press counters"),
                               statusOf(result));
    // The picture first: the counts are printed only for a complete result.
    FileStore::WriteFailure failure;
    if (!heatmap.empty()
        && !HeatmapFile::write(m_state->pressCounters, m_state->deviceType, heatmap, failure))
        return m_profiles.failToSave(heatmap, failure, CliProfiles::OutputKind::Heatmap);
    if (m_options.json)
        answer(JsonReport::counters(*m_state));
    else
        print(TextReport::counters(*m_state));
    return true;
}

bool CliSession::editProfile(const std::function<std::string()> &edit)
{
    // Nothing reaches OUT unless IN was read and the whole edit taken.
    if (!m_profiles.checkOutput(m_options.output) || !loadInput(m_options.input, *m_state))
        return false;
    if (const std::string refused = edit(); !refused.empty())
        return m_messages.fail(refused, Status::BadUsage);
    if (!m_profiles.save(m_options.output, *m_state))
        return false;
    if (m_options.json) {
        QJsonObject document = JsonReport::answer(m_options.command, m_state->deviceType);
        document["input"] = QString::fromStdString(m_options.input);
        document["output"] = QString::fromStdString(m_options.output);
        answer(document);
    }
    return true;
}

bool CliSession::backUpKeyboard(std::string &savedIn)
{
    const FirmwareBackup::Result backup
        = FirmwareBackup::make(m_state->hwi, m_state->catalogue, m_state->deviceType, nullptr);
    if (!backup.ok()) {
        const bool keyboard = backup.status == FirmwareBackup::Result::Status::ReadFailed;
        return m_messages.fail(FirmwareBackup::failureText(backup, false)
                                   + " (--no-backup updates without saving them)",
                               keyboard ? Status::Keyboard : Status::Failed);
    }
    savedIn = backup.path.string();
    if (!m_options.json)
        print(FirmwareBackup::savedText(backup.path, false) + '\n');
    return true;
}

bool CliSession::downloadFirmware()
{
    using FirmwareRules::Message;
    const int variant = m_state->hwi.DetectDeviceType();
    if (variant == 0)
        return m_messages.fail(CliKeyboard::whyNoKeyboard(), Status::Keyboard);
    // A file that is not there is named as such, whatever its name.
    if (const FirmwareFile readable = FirmwareFile::probe(m_options.input); !readable.ok())
        return m_messages.fail(readable.problem(false));
    if (!FirmwareRules::titleMatches(variant, FirmwareRules::titleOf(m_options.input)))
        return m_messages.fail(FirmwareRules::message(Message::WrongPrefix, variant, false));

    // A damaged image is refused with its reason before the keyboard is touched.
    FirmwareFile file = FirmwareFile::load(m_options.input);
    if (!file.ok())
        return m_messages.fail(file.problem(false));

    if (!openKeyboard())
        return false;
    // An update may leave the keyboard without its settings.
    std::string backup;
    if (!m_options.noBackup && !backUpKeyboard(backup))
        return false;
    FirmwareProgress progress(stderr);
    if (!m_state->hwi.WriteFirmwareToKeyboard(file.data(), file.length(), &progress)) {
        progress.finish();
        std::string failed = FirmwareRules::message(Message::DownloadFailed, variant, false);
        if (!backup.empty())
            failed += " The keyboard's key settings and lights are saved in " + backup;
        return m_messages.fail(failed, Status::Keyboard);
    }
    progress.finish();
    if (m_options.json) {
        QJsonObject document = JsonReport::answer("firmware", variant);
        document["file"] = QString::fromStdString(m_options.input);
        document["backup"] = backup.empty() ? QJsonValue() : QString::fromStdString(backup);
        document["downloaded"] = true;
        answer(document);
        return true;
    }
    std::string done = FirmwareRules::message(Message::Downloaded, variant, false);
    for (std::size_t at; (at = done.find('\r')) != std::string::npos;)
        done.erase(at, 1);
    print(done + '\n');
    if (!backup.empty())
        print("Once the keyboard has restarted, this puts its settings back: quillo-cli write '"
              + backup + "'\n");
    return true;
}
