#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// What the last load, save or parse of a document noticed, as a short markup text: one empty
// element per event, such as <bom encoding="UTF-8"/> or <lone_end_tag tagname="a" offset="9"/>.
class ResultLog {
public:
    using Attribute = std::pair<std::string_view, std::string>;

    void clear()
    {
        m_text.clear();
        m_count = 0;
    }

    // Events past the cap are dropped, so a file full of errors cannot grow the log without end.
    void add(std::string_view event, std::initializer_list<Attribute> attributes = {})
    {
        if (m_count == MaxEntries)
            return;
        ++m_count;
        m_text += '<';
        m_text += event;
        for (const auto &[name, value] : attributes) {
            m_text += ' ';
            m_text += name;
            m_text += "=\"";
            for (const char c : value) {
                switch (c) {
                case '&':
                    m_text += "&amp;";
                    break;
                case '<':
                    m_text += "&lt;";
                    break;
                case '>':
                    m_text += "&gt;";
                    break;
                case '"':
                    m_text += "&quot;";
                    break;
                default:
                    m_text += c;
                }
            }
            m_text += '"';
        }
        m_text += "/>";
    }

    bool has(std::string_view event) const
    {
        const std::string open = "<" + std::string(event);
        for (std::size_t at = m_text.find(open); at != std::string::npos;
             at = m_text.find(open, at + 1)) {
            const char after = at + open.size() < m_text.size() ? m_text[at + open.size()] : 0;
            if (after == ' ' || after == '/')
                return true;
        }
        return false;
    }

    const std::string &text() const { return m_text; }

    static constexpr std::size_t MaxEntries = 200;

private:
    std::string m_text;
    std::size_t m_count = 0;
};
