#pragma once

#include "cli/ProfileDiff.h"

#include <QJsonObject>

#include <string>
#include <vector>

class AppState;

// The JSON documents of quillo-cli --json: the content of the text output, with keys by
// number and name and categories by number and name. Built with Qt's JSON classes, which
// escape every text correctly (control characters, quotes, any Unicode) and never emit
// invalid UTF-8; text() turns one into UTF-8 ending in a newline.
namespace JsonReport {

// {"variant": N, "model": NAME}; variant 0 gives a null model.
QJsonObject model(int variant);
QJsonObject detect(int variant);
QJsonObject version(int variant, const std::string &text);
// Every key on both layers, the lights and the three predefined lists.
QJsonObject show(const AppState &state);
// Both sides of every difference whole: categories, codes, steps and their settings.
QJsonObject diff(const AppState &a, const AppState &b,
                 const std::vector<ProfileDiff::Difference> &differences);
QJsonObject counters(const AppState &state);
// What a command that changes a file or the keyboard answers: its name and the model.
QJsonObject answer(const std::string &command, int variant);
// {"command": ..., "error": MESSAGE, "status": N}; no command for a usage error.
QJsonObject failure(const std::string &command, const std::string &message, int status);

// The document as text, with the notes said on stderr as "notes" when there are any.
std::string text(QJsonObject document, const std::vector<std::string> &notes = {});

} // namespace JsonReport
