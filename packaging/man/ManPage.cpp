#include "ManPage.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

// Text safe for roff: backslashes and hyphens escaped (so that options can be copied), a
// line never starting with a control character, everything beyond ASCII by code point.
std::string escaped(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\\') {
            out += "\\e";
        } else if (byte == '-') {
            out += "\\-";
        } else if (byte < 0x80) {
            out += char(byte);
        } else {
            // UTF-8 to a code point; the texts are ours and well formed.
            int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            std::uint32_t code = byte & (0x7F >> length);
            for (int k = 1; k < length && i + 1 < text.size(); ++k)
                code = code << 6 | (static_cast<unsigned char>(text[++i]) & 0x3F);
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\[u%04X]", unsigned(code));
            out += buffer;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

// The first word in bold, the rest as it is: "show IN [--json]", "--variant N".
std::string tag(const std::string &term)
{
    const std::size_t space = term.find(' ');
    if (space == std::string::npos)
        return "\\fB" + escaped(term) + "\\fR";
    return "\\fB" + escaped(term.substr(0, space)) + "\\fR" + escaped(term.substr(space));
}

std::string upper(std::string text)
{
    for (char &c : text) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return text;
}

void paragraphs(const std::vector<std::string> &list, std::string &out, bool first)
{
    for (const std::string &paragraph : list) {
        if (!first)
            out += ".PP\n";
        out += escaped(paragraph) + '\n';
        first = false;
    }
}

// Wide enough for the list's short tags, so that a text never starts one space after its tag
// ("unplug unplugged at ..."); longer tags stand on a line of their own.
int indentOf(const std::vector<UsageEntry> &list)
{
    std::size_t widest = 0;
    for (const UsageEntry &entry : list) {
        if (entry.term.size() <= 14)
            widest = std::max(widest, entry.term.size());
    }
    return std::clamp(int(widest) + 2, 7, 16);
}

void entries(const std::vector<UsageEntry> &list, std::string &out)
{
    const std::string indent = std::to_string(indentOf(list));
    for (const UsageEntry &entry : list) {
        out += ".TP " + indent + '\n' + tag(entry.term) + '\n';
        for (std::size_t i = 0; i < entry.text.size(); ++i) {
            if (i > 0)
                out += ".IP\n";
            out += escaped(entry.text[i]) + '\n';
        }
        // Nested entries line up with their parent's text.
        if (!entry.entries.empty()) {
            out += ".RS " + indent + '\n';
            entries(entry.entries, out);
            out += ".RE\n";
        }
    }
}

} // namespace

namespace ManPage {

std::string roff(const UsageDoc &doc, const std::string &date, const std::string &source,
                 const std::string &seeAlso)
{
    std::string out = ".TH " + upper(escaped(doc.program)) + " 1 \"" + date + "\" \""
                      + escaped(source) + "\" \"User Commands\"\n";
    out += ".SH NAME\n" + escaped(doc.program) + " \\- " + escaped(doc.summary) + '\n';
    out += ".SH SYNOPSIS\n";
    for (std::size_t i = 0; i < doc.synopsis.size(); ++i) {
        if (i > 0)
            out += ".br\n";
        out += tag(doc.synopsis[i]) + '\n';
    }
    out += ".SH DESCRIPTION\n";
    paragraphs(doc.description, out, true);
    for (const UsageSection &section : doc.sections) {
        out += ".SH " + upper(escaped(section.title)) + '\n';
        paragraphs(section.before, out, true);
        entries(section.entries, out);
        if (!section.after.empty())
            out += ".PP\n";
        paragraphs(section.after, out, true);
    }
    out += ".SH \"SEE ALSO\"\n" + escaped(seeAlso) + '\n';
    return out;
}

} // namespace ManPage
