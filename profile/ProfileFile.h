#pragma once

#include "profile/FileStore.h"
#include "profile/MarkupError.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class MarkupDocument;
struct Configuration;
struct PressCounters;

// Outcome of reading a profile; everything but Ok leaves the configuration as it was.
enum class ProfileReadResult {
    Ok,
    CannotOpen,   // missing or unreadable
    NotAFile,     // a folder
    TooLarge,     // larger than any profile (MarkupDocument::MaxFileBytes)
    NotAProfile,  // not XML, or XML without a profile root
    Damaged,      // a profile of this keyboard whose markup is broken
    OtherVariant, // a profile of another keyboard model
};

// Root element name of a variant's profiles; 0 counts as 1.
std::u16string_view profileRootName(int deviceType);

// Saves the whole editable configuration (lists, lights, key assignments) as a profile of the
// `deviceType` keyboard. The file is replaced only as a whole, and only a regular file (a
// link is followed to one); false when it could not be written, with the reason in `failure`
// when given.
bool writeProfile(const Configuration &configuration, int deviceType,
                  const std::filesystem::path &path, FileStore::WriteFailure *failure = nullptr);
// How a profile of this keyboard with broken markup is read.
enum class DamagedProfile {
    Refuse,      // Damaged, and the configuration stays as it was
    ReadWhatCan, // Ok: what the parser could index is read; the rest keeps its defaults
};

// A value of the file that reading changed to fit the model, or an element it left out.
struct ProfileValueChange {
    std::string element; // "KEY", "AREA", "x"
    int key = 0;         // the key it belongs to, 0 for none
    int layer = -1;      // 0 top, 1 Fn, -1 for lights and elements without a layer
    std::string field;   // the attribute: "Red", "Mode", "ID"
    std::string from;    // as written in the file
    std::string to;      // what was read instead; empty when the element was left out
};

// What reading noticed besides its result.
struct ProfileReadReport {
    MarkupError damage;    // the first markup problem of a damaged profile of this keyboard
    std::string fileError; // why the file could not be read, in the system's words
    std::vector<ProfileValueChange> changes;
};

// Replaces the configuration with a profile of the `deviceType` keyboard and forgets the press
// counters. For a profile of this keyboard with broken markup, `firstError` (if given) receives the
// first problem whether the file is refused or read; otherwise it is cleared.
ProfileReadResult readProfile(Configuration &configuration, PressCounters &counters, int deviceType,
                              const std::filesystem::path &path,
                              DamagedProfile damaged = DamagedProfile::Refuse,
                              MarkupError *firstError = nullptr);

// The same, with everything reading noticed in `report`.
ProfileReadResult readProfile(Configuration &configuration, PressCounters &counters, int deviceType,
                              const std::filesystem::path &path, DamagedProfile damaged,
                              ProfileReadReport *report);

// The file loaded into `doc` as readProfile loads it: Ok, or why it cannot serve (CannotOpen,
// NotAFile, TooLarge), with the system's words in `fileError`.
ProfileReadResult loadProfileFile(const std::filesystem::path &path, MarkupDocument &doc,
                                  std::string *fileError = nullptr);
// The model (1..4) a profile's root element names; 0 when no element is a profile's root.
int profileRootVariant(MarkupDocument &doc);

// The same on documents in memory.
bool buildProfile(const Configuration &configuration, int deviceType, MarkupDocument &doc);
ProfileReadResult readProfileDocument(Configuration &configuration, PressCounters &counters,
                                      int deviceType, MarkupDocument &doc,
                                      DamagedProfile damaged = DamagedProfile::Refuse,
                                      MarkupError *firstError = nullptr);
ProfileReadResult readProfileDocument(Configuration &configuration, PressCounters &counters,
                                      int deviceType, MarkupDocument &doc, DamagedProfile damaged,
                                      ProfileReadReport *report);

// Texts the program and quillo-cli show for a failed read or write (UTF-8).
const char *profileReadMessage(ProfileReadResult result, bool chinese);
// The same with the system's reason where there is one (in English only): "The file could not
// be opened: Permission denied."
std::string profileReadFailureText(ProfileReadResult result, const std::string &fileError,
                                   bool chinese);
const char *profileWriteFailedMessage(bool chinese);
// Why a save to `path` failed, as a sentence: "It is a FIFO (named pipe), not a regular
// file." In Chinese only the refusal of a file that is not a regular one is told; other
// reasons are the system's English words, and empty then.
std::string profileWriteFailureReason(const FileStore::WriteFailure &failure,
                                      const std::filesystem::path &path, bool chinese);
// Where a damaged profile is broken and how: "line 12: an end tag </List> without a start
// tag"; empty when the problem is not known.
std::string profileDamageText(const MarkupError &error, bool chinese);
// "This profile is damaged (line 12: ...)." The question that offers to read it anyway, and
// the note after it was read so.
std::string profileDamagedMessage(const MarkupError &error, bool chinese);
std::string profileDamagedQuestion(const MarkupError &error, bool chinese);
std::string profileReadDamagedNote(const MarkupError &error, bool chinese);
