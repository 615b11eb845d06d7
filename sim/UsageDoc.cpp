#include "sim/UsageDoc.h"

#include <algorithm>
#include <sstream>

namespace {

// Columns of a UTF-8 text: every character counts one.
int columns(const std::string &text)
{
    int n = 0;
    for (const char c : text)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

} // namespace

namespace UsageText {

std::string wrapped(const std::string &text, int first, int rest)
{
    std::istringstream words(text);
    std::string out;
    std::string line(std::size_t(first), ' ');
    int used = first;
    bool empty = true;
    for (std::string word; words >> word;) {
        if (!empty && used + 1 + columns(word) > Width) {
            out += line + '\n';
            line.assign(std::size_t(rest), ' ');
            used = rest;
            empty = true;
        }
        if (!empty) {
            line += ' ';
            ++used;
        }
        line += word;
        used += columns(word);
        empty = false;
    }
    return out + line + '\n';
}

std::string entries(const std::vector<UsageEntry> &list, int indent, int column)
{
    std::string out;
    for (const UsageEntry &entry : list) {
        std::string term = std::string(std::size_t(indent), ' ') + entry.term;
        const int used = columns(term);
        bool termAlone = entry.text.empty() || used + 2 > column;
        if (termAlone)
            out += term + '\n';
        for (std::size_t i = 0; i < entry.text.size(); ++i) {
            if (i == 0 && !termAlone) {
                // The first paragraph starts beside the term.
                const std::string lines = wrapped(entry.text[i], column, column);
                out += term + lines.substr(std::size_t(used));
            } else {
                out += wrapped(entry.text[i], column, column);
            }
        }
        if (!entry.entries.empty())
            out += entries(entry.entries, indent + 2, column + 2);
    }
    return out;
}

std::string help(const UsageDoc &doc)
{
    std::string out;
    // A long form goes on under its first argument, and breaks only between its groups.
    constexpr char Glue = '\x01';
    for (std::size_t i = 0; i < doc.synopsis.size(); ++i) {
        std::string form = doc.synopsis[i];
        int depth = 0;
        for (char &c : form) {
            depth += (c == '[' || c == '(') - (c == ']' || c == ')');
            if (c == ' ' && depth > 0)
                c = Glue;
        }
        const int hang = 7 + int(form.find(' ')) + 1;
        std::string lines = wrapped(form, 7, hang);
        std::replace(lines.begin(), lines.end(), Glue, ' ');
        out += (i == 0 ? "Usage: " : "       ") + lines.substr(7);
    }
    for (const std::string &paragraph : doc.description)
        out += '\n' + wrapped(paragraph, 0, 0);
    for (const UsageSection &section : doc.sections) {
        out += '\n' + section.title + ":\n";
        for (const std::string &paragraph : section.before)
            out += wrapped(paragraph, 2, 2);
        out += entries(section.entries, 2, 24);
        for (const std::string &paragraph : section.after)
            out += wrapped(paragraph, 2, 2);
    }
    return out;
}

} // namespace UsageText
