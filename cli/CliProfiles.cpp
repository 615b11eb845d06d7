#include "cli/CliProfiles.h"

#include "cli/ChangeNotes.h"
#include "cli/CliOutput.h"
#include "model/AppState.h"
#include "model/KeyboardModel.h"
#include "profile/MarkupDocument.h"
#include "profile/ProfileFile.h"

#include <unistd.h>

namespace {

constexpr const char *StandardStream = "-";

// The document of `path`, or of standard input; Ok, or why there is none.
ProfileReadResult loadDocument(const std::string &path, MarkupDocument &doc, std::string &error)
{
    if (path != StandardStream)
        return loadProfileFile(path, doc, &error);
    std::string bytes;
    switch (FileStore::readDescriptor(STDIN_FILENO, MarkupDocument::MaxFileBytes, bytes, error)) {
    case FileStore::ReadStatus::Ok:
        doc.loadBytes(bytes);
        return ProfileReadResult::Ok;
    case FileStore::ReadStatus::TooLarge:
        return ProfileReadResult::TooLarge;
    case FileStore::ReadStatus::NotAFile:
        return ProfileReadResult::NotAFile;
    default:
        return ProfileReadResult::CannotOpen;
    }
}

std::string shown(const std::string &path)
{
    return path == StandardStream ? "standard input" : path;
}

} // namespace

CliProfiles::CliProfiles(CliMessages &messages, CliOutput &output, bool lenient)
    : m_messages(messages)
    , m_output(output)
    , m_lenient(lenient)
{}

// Every command that reads a profile reads it here, so --lenient holds for all of them.
bool CliProfiles::load(const std::string &path, AppState &into, Model rule, int model)
{
    const std::string name = shown(path);
    MarkupDocument doc;
    std::string error;
    const ProfileReadResult loaded = loadDocument(path, doc, error);
    if (loaded != ProfileReadResult::Ok)
        return m_messages.fail(name + ": " + profileReadFailureText(loaded, error, false));
    const int named = profileRootVariant(doc);
    if (named == 0)
        return m_messages.fail(name + ": "
                               + profileReadMessage(ProfileReadResult::NotAProfile, false));
    if (model != 0 && named != model) {
        if (rule == Model::Required)
            return m_messages.fail(name + ": "
                                   + profileReadMessage(ProfileReadResult::OtherVariant, false)
                                   + " It is a profile of the " + KeyboardModel::name(named)
                                   + "; the keyboard is a " + KeyboardModel::name(model) + ".");
        m_messages.note(name + " is a profile of the " + KeyboardModel::name(named)
                        + "; it is read as one of the " + KeyboardModel::name(model)
                        + ", as --variant asks");
    }

    // Read as the model it names; then it is the one asked for.
    into.deviceType = named;
    into.resetKeyModel();
    ProfileReadReport report;
    const ProfileReadResult result = readProfileDocument(
        into, into.pressCounters, named, doc,
        m_lenient ? DamagedProfile::ReadWhatCan : DamagedProfile::Refuse, &report);
    const MarkupError &damage = report.damage;
    if (result == ProfileReadResult::Damaged) {
        return m_messages.fail(name + ": " + profileDamagedMessage(damage, false)
                               + " Nothing was read; --lenient reads what can be read.");
    }
    if (result != ProfileReadResult::Ok)
        return m_messages.fail(name + ": " + profileReadMessage(result, false));
    if (damage)
        m_messages.note(name + ": " + profileReadDamagedNote(damage, false));
    for (const ProfileValueChange &change : report.changes)
        m_messages.note(name + ": " + ChangeNotes::readChange(into, change));
    if (model != 0)
        into.deviceType = model;
    return true;
}

bool CliProfiles::save(const std::string &path, const AppState &state)
{
    if (path == StandardStream) {
        MarkupDocument doc;
        if (!buildProfile(state, state.deviceType, doc))
            return m_messages.fail("the profile could not be built");
        m_output.write(doc.encodedText());
        return true;
    }
    FileStore::WriteFailure failure;
    if (!writeProfile(state, state.deviceType, path, &failure))
        return failToSave(path, failure);
    return true;
}

bool CliProfiles::checkOutput(const std::string &path, OutputKind kind)
{
    if (path == StandardStream)
        return true;
    FileStore::WriteFailure failure;
    return FileStore::checkReplaceable(path, failure) || failToSave(path, failure, kind);
}

bool CliProfiles::failToSave(const std::string &path, const FileStore::WriteFailure &failure,
                             OutputKind kind)
{
    const std::string reason = profileWriteFailureReason(failure, path, false);
    const std::string headline = kind == OutputKind::Heatmap
                                     ? "The heatmap picture could not be saved."
                                     : profileWriteFailedMessage(false);
    return m_messages.fail(path + ": " + headline + (reason.empty() ? "" : " ") + reason);
}
