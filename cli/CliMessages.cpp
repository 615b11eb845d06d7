#include "cli/CliMessages.h"

#include "cli/TerminalText.h"

#include <iostream>

bool CliMessages::fail(const std::string &why, Status status)
{
    std::cerr << "quillo-cli: " << TerminalText::escaped(why) << '\n';
    if (m_status == Done) {
        m_status = status;
        m_failure = why;
    }
    return false;
}

void CliMessages::note(const std::string &what)
{
    std::cerr << "quillo-cli: note: " << TerminalText::escaped(what) << '\n';
    m_notes.push_back(what);
}
