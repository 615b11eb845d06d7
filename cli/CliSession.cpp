#include "cli/CliSession.h"

#include "app/DeviceAccessMessage.h"
#include "cli/ChangeNotes.h"
#include "cli/FirmwareProgress.h"
#include "cli/HeatmapFile.h"
#include "cli/JsonReport.h"
#include "cli/KeyEdit.h"
#include "cli/LightEdit.h"
#include "cli/ProfileDiff.h"
#include "cli/TerminalText.h"
#include "cli/TextReport.h"
#include "jobs/DeviceTransfer.h"
#include "jobs/FirmwareBackup.h"
#include "jobs/FirmwareFile.h"
#include "jobs/FirmwareRules.h"
#include "jobs/JobMessages.h"
#include "layout/MainWindowTable.h"
#include "model/AppState.h"
#include "model/AssignmentSummary.h"
#include "model/KeyboardModel.h"
#include "profile/ProfileFile.h"

#include <quillodev/HidBackend.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <vector>

#include <unistd.h>

namespace {

std::string transferFailure(const TransferResult &result, const char *what)
{
    // The window's words: the key, and what about it the keyboard cannot take.
    if (result.status == TransferResult::Status::AssignmentRefused)
        return JobMessages::failure(0, result, false);
    return std::string("exchange failed while ") + what;
}

} // namespace

CliSession::CliSession(CliOptions options, CliOutput *output)
    : m_options(std::move(options))
    , m_ownOutput(output ? nullptr : std::make_unique<CliOutput>(STDOUT_FILENO))
    , m_out(output ? *output : *m_ownOutput)
    , m_state(std::make_unique<AppState>())
{}

CliSession::~CliSession()
{
    // Close the device before the backend that made it goes away.
    m_state.reset();
    quillodev::setHidBackend(nullptr);
}

bool CliSession::fail(const std::string &why)
{
    std::cerr << "quillo-cli: " << TerminalText::escaped(why) << '\n';
    return false;
}

void CliSession::note(const std::string &what)
{
    std::cerr << "quillo-cli: note: " << TerminalText::escaped(what) << '\n';
}

void CliSession::print(std::string_view text)
{
    m_out.write(text);
}

int CliSession::run()
{
    int status = runCommand();
    // Like diff(1), diff says trouble with 2.
    const int trouble = m_options.command == "diff" ? 2 : 1;
    if (const std::string trace = m_keyboard.finish(); !trace.empty()) {
        fail(trace);
        status = trouble;
    }
    if (!m_out.finish()) {
        fail("cannot write the output: " + m_out.error());
        status = trouble;
    }
    return status;
}

int CliSession::runCommand()
{
    m_state->buildCatalogue();
    m_state->language = "en-US";
    if (const std::string problem = m_keyboard.install(m_options); !problem.empty()) {
        fail(problem);
        return 1;
    }

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
    if (command == "set")
        return set();
    if (command == "lights")
        return lights();

    bool done = false;
    if (command == "defaults") {
        m_state->deviceType = m_options.variant;
        m_state->resetKeyModel();
        done = saveProfile(m_options.output);
    } else if (command == "convert") {
        done = chooseProfileVariant() && loadProfile(m_options.input)
               && saveProfile(m_options.output);
    } else if (command == "write") {
        done = openKeyboard() && loadProfile(m_options.input) && writeToKeyboard();
    } else if (command == "read") {
        // The output is checked first: nothing is read from the keyboard only to be dropped.
        done = outputReplaceable(m_options.output) && openKeyboard() && readFromKeyboard()
               && saveProfile(m_options.output);
    } else if (command == "sync") {
        // OUT is checked before the keyboard changes; once it has, a failure says so.
        done = outputReplaceable(m_options.output) && openKeyboard() && loadProfile(m_options.input)
               && writeToKeyboard();
        if (done && !(readFromKeyboard() && saveProfile(m_options.output))) {
            note("the keyboard holds what " + m_options.input + " says: it was written before "
                 + "this failure; " + m_options.output + " was not written");
            done = false;
        }
    } else if (command == "firmware") {
        done = downloadFirmware();
    }
    return done ? 0 : 1;
}

bool CliSession::openKeyboard()
{
    const std::string problem = m_keyboard.open(m_state->hwi);
    m_state->deviceType = m_keyboard.variant();
    if (!problem.empty())
        return fail(problem);
    m_state->resetKeyModel();
    return true;
}

bool CliSession::failWithoutKeyboard()
{
    return fail(CliKeyboard::whyNoKeyboard());
}

bool CliSession::chooseProfileVariant()
{
    m_state->deviceType = m_options.variant;
    if (m_state->deviceType == 0)
        m_state->deviceType = m_state->hwi.DetectDeviceType();
    if (m_state->deviceType == 0)
        return fail("no keyboard attached: give the profile's variant with --variant N");
    m_state->resetKeyModel();
    return true;
}

bool CliSession::loadProfile(const std::string &path)
{
    return loadProfile(path, *m_state);
}

// Every command that reads a profile reads it here, so --lenient holds for all of them.
bool CliSession::loadProfile(const std::string &path, AppState &into)
{
    ProfileReadReport report;
    const ProfileReadResult result = readProfile(
        into, into.pressCounters, into.deviceType, path,
        m_options.lenient ? DamagedProfile::ReadWhatCan : DamagedProfile::Refuse, &report);
    const MarkupError &damage = report.damage;
    if (result == ProfileReadResult::Damaged) {
        return fail(path + ": " + profileDamagedMessage(damage, false)
                    + " Nothing was read; --lenient reads what can be read.");
    }
    if (result != ProfileReadResult::Ok)
        return fail(path + ": " + profileReadFailureText(result, report.fileError, false));
    if (damage)
        std::cerr << "quillo-cli: " << TerminalText::escaped(path) << ": "
                  << profileReadDamagedNote(damage, false) << '\n';
    for (const ProfileValueChange &change : report.changes)
        note(path + ": " + ChangeNotes::readChange(into, change));
    return true;
}

bool CliSession::saveProfile(const std::string &path)
{
    FileStore::WriteFailure failure;
    if (!writeProfile(*m_state, m_state->deviceType, path, &failure))
        return failToSave(path, failure);
    return true;
}

bool CliSession::outputReplaceable(const std::string &path, OutputKind what)
{
    FileStore::WriteFailure failure;
    return FileStore::checkReplaceable(path, failure) || failToSave(path, failure, what);
}

bool CliSession::failToSave(const std::string &path, const FileStore::WriteFailure &failure,
                            OutputKind what)
{
    const std::string reason = profileWriteFailureReason(failure, path, false);
    const std::string headline = what == OutputKind::Heatmap
                                     ? "The heatmap picture could not be saved."
                                     : profileWriteFailedMessage(false);
    return fail(path + ": " + headline + (reason.empty() ? "" : " ") + reason);
}

bool CliSession::writeToKeyboard()
{
    // Said before anything is sent; a step the keyboard would misread stops the write below.
    for (const std::string &line : ChangeNotes::writeAdjustments(*m_state))
        note(line);
    const TransferResult keys
        = DeviceTransfer::writeKeyAssignments(m_state->hwi, m_state->catalogue, *m_state, nullptr);
    // Broken off half-way, the keyboard keeps what reached it.
    const std::string again = "; the keyboard may now hold part of the new settings: write "
                              + m_options.input + " again";
    if (!keys) {
        return fail(transferFailure(keys, "writing the key assignments")
                    + (keys.status == TransferResult::Status::DeviceFailed ? again : ""));
    }
    if (KeyboardModel::hasKeyColours(m_state->deviceType)) {
        const TransferResult lights
            = DeviceTransfer::writeLights(m_state->hwi, m_state->lightSettings, nullptr);
        if (!lights)
            return fail(transferFailure(lights, "writing the lights") + again);
    }
    return true;
}

bool CliSession::readFromKeyboard()
{
    m_state->resetKeyModel();
    const TransferResult keys
        = DeviceTransfer::readKeyAssignments(m_state->hwi, m_state->catalogue, *m_state, nullptr);
    if (!keys)
        return fail(transferFailure(keys, "reading the key assignments"));
    const TransferResult lights
        = DeviceTransfer::readLights(m_state->hwi, m_state->lightSettings, nullptr);
    if (!lights)
        return fail(transferFailure(lights, "reading the lights"));
    return true;
}

int CliSession::detect()
{
    const int variant = m_state->hwi.DetectDeviceType();
    if (m_options.json)
        print(JsonReport::detect(variant));
    if (variant == 0) {
        if (!m_options.json)
            print("0\n");
        failWithoutKeyboard();
        return 1;
    }
    if (!m_options.json)
        print(std::to_string(variant) + ' ' + KeyboardModel::name(variant) + '\n');
    // Present is not usable: a note, so that what follows does not come as a surprise.
    if (const auto problem = quillodev::keyboardOpenProblem())
        note(DeviceAccessMessage::line(
            *problem, DeviceAccessMessage::findRule(ResourceLocator::forThisProgram())));
    return 0;
}

int CliSession::version()
{
    if (!openKeyboard())
        return 1;
    const std::string text = m_keyboard.version();
    print(m_options.json ? JsonReport::version(text) : text + '\n');
    return 0;
}

int CliSession::show()
{
    if (!chooseProfileVariant() || !loadProfile(m_options.input))
        return 1;
    print(m_options.json ? JsonReport::show(*m_state) : TextReport::show(*m_state));
    return 0;
}

int CliSession::diff()
{
    // Like diff(1): 1 says "different", so trouble is 2.
    constexpr int Trouble = 2;
    if (!chooseProfileVariant() || !loadProfile(m_options.input))
        return Trouble;
    AppState other;
    other.deviceType = m_state->deviceType;
    other.language = m_state->language;
    other.resetKeyModel();
    if (!loadProfile(m_options.input2, other))
        return Trouble;
    // Both described in the words of A's catalogue: the tables are the same for every state.
    const std::vector<ProfileDiff::Difference> differences
        = ProfileDiff::differences(*m_state, other, m_options.keyboardOnly);
    if (m_options.json) {
        print(JsonReport::diff(*m_state, differences));
    } else {
        std::string text;
        for (const ProfileDiff::Difference &difference : differences)
            text += ProfileDiff::line(difference) + '\n';
        print(text);
    }
    if (std::any_of(differences.begin(), differences.end(),
                    [](const ProfileDiff::Difference &d) { return d.sameOnKeyboard; }))
        note("differences marked \"same on the keyboard\" are in what the keyboard does not keep "
             "(a step's Down or UP, a recorded macro's unused delay, the lists, lights where the "
             "model has none); --keyboard leaves them out");
    return differences.empty() ? 0 : 1;
}

int CliSession::counters()
{
    // The picture's file is checked before the keyboard is asked.
    if (!m_options.heatmap.empty() && !outputReplaceable(m_options.heatmap, OutputKind::Heatmap))
        return 1;
    if (!openKeyboard())
        return 1;
    const TransferResult result
        = DeviceTransfer::readPressCounters(m_state->hwi, m_state->pressCounters, nullptr);
    if (!result) {
        fail(transferFailure(result, "reading the press counters"));
        return 1;
    }
    if (m_options.json) {
        // The picture first: a document is printed only for a complete result.
        if (!m_options.heatmap.empty() && !writeHeatmap(m_options.heatmap))
            return 1;
        print(JsonReport::counters(*m_state));
        return 0;
    }
    print(TextReport::counters(*m_state));
    if (!m_options.heatmap.empty() && !writeHeatmap(m_options.heatmap))
        return 1;
    return 0;
}

int CliSession::editProfile(const std::function<std::string()> &edit)
{
    // Nothing reaches OUT unless IN was read and the whole edit taken.
    if (!chooseProfileVariant() || !loadProfile(m_options.input))
        return 1;
    const std::string refused = edit();
    if (!refused.empty()) {
        fail(refused);
        return 2;
    }
    return saveProfile(m_options.output) ? 0 : 1;
}

int CliSession::set()
{
    return editProfile([this] {
        const KeyEdit::Result result = KeyEdit::apply(
            *m_state, {m_options.key, m_options.layer, m_options.action, m_options.actionName});
        if (result) {
            for (const std::string &text : result.notes)
                note(text);
        }
        return result.error;
    });
}

int CliSession::lights()
{
    return editProfile([this] {
        return LightEdit::apply(*m_state, {m_options.keyColours, m_options.allColour});
    });
}

bool CliSession::writeHeatmap(const std::string &path)
{
    FileStore::WriteFailure failure;
    return HeatmapFile::write(m_state->pressCounters, m_state->deviceType, path, failure)
           || failToSave(path, failure, OutputKind::Heatmap);
}

bool CliSession::backUpKeyboard(std::string &savedIn)
{
    const FirmwareBackup::Result backup
        = FirmwareBackup::make(m_state->hwi, m_state->catalogue, m_state->deviceType, nullptr);
    if (!backup.ok())
        return fail(FirmwareBackup::failureText(backup, false)
                    + " (--no-backup updates without saving them)");
    savedIn = backup.path.string();
    print(FirmwareBackup::savedText(backup.path, false) + '\n');
    return true;
}

bool CliSession::downloadFirmware()
{
    using FirmwareRules::Message;
    const int variant = m_state->hwi.DetectDeviceType();
    if (variant == 0)
        return failWithoutKeyboard();
    // A file that is not there is named as such, whatever its name.
    if (const FirmwareFile readable = FirmwareFile::probe(m_options.input); !readable.ok())
        return fail(readable.problem(false));
    if (!FirmwareRules::titleMatches(variant, FirmwareRules::titleOf(m_options.input)))
        return fail(FirmwareRules::message(Message::WrongPrefix, variant, false));

    // A damaged image is refused with its reason before the keyboard is touched.
    FirmwareFile file = FirmwareFile::load(m_options.input);
    if (!file.ok())
        return fail(file.problem(false));

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
        return fail(failed);
    }
    progress.finish();
    std::string done = FirmwareRules::message(Message::Downloaded, variant, false);
    for (std::size_t at; (at = done.find('\r')) != std::string::npos;)
        done.erase(at, 1);
    print(done + '\n');
    if (!backup.empty())
        print("Once the keyboard has restarted, this puts its settings back: quillo-cli write '"
              + backup + "'\n");
    return true;
}
