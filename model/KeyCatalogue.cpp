#include "model/KeyCatalogue.h"

#include "model/DefaultCodes.h"
#include "model/KeyNames.h"

static_assert(KeyNames::keyOfBasicCode[107] == 269, "one virtual key per code 0..107");

namespace {

constexpr int KeyMask = 0x1FF;

struct CategoryNames {
    const char *chinese;
    const char *english;
};

constexpr CategoryNames categoryNames[KeyCatalogue::CategoryCount] = {
    {"未设置", "Not set"}, {"单键", "Single"},        {"组合键", "Combo"},
    {"宏键", "Macro"},     {"模拟击键", "Emulation"}, {"多媒体键", "Multimedia"},
    {"鼠标键", "Mouse"},   {"操控键", "Function"},    {"电源键", "Power"},
};

} // namespace

void KeyCatalogue::build()
{
    m_names.fill(std::string());
    m_hasName.fill(false);
    m_forward.fill(0);
    m_reverse.fill(0);
    m_keyOfName.clear();

    auto setName = [this](int key, const char *name) {
        m_names[std::size_t(key)] = name;
        m_hasName[std::size_t(key)] = true;
    };
    for (const KeyNames::Entry &entry : KeyNames::virtualKeys)
        setName(entry.key, entry.name);
    for (char c = '0'; c <= '9'; ++c)
        setName(c, std::string(1, c).c_str());
    for (char c = 'A'; c <= 'Z'; ++c)
        setName(c, std::string(1, c).c_str());
    for (const KeyNames::Entry &entry : KeyNames::pseudoKeys)
        setName(entry.key, entry.name);

    for (int code = 1; code < int(KeyNames::keyOfBasicCode.size()); ++code)
        m_forward[std::size_t(KeyNames::keyOfBasicCode[std::size_t(code)])] = code;
    for (int code = KeyNames::FirstFunctionCode; code <= KeyNames::LastFunctionCode; ++code)
        m_forward[std::size_t(KeyNames::PseudoKeyBase + code)] = code;
    for (int code : KeyNames::BluetoothCodes)
        m_forward[std::size_t(KeyNames::PseudoKeyBase + code)] = code;
    m_forward[KeyNames::LeftDoubleClickKey] = KeyNames::LeftDoubleClickCode;
    m_forward[KeyNames::IsoKey] = KeyNames::IsoKeyCode;
    m_forward[KeyNames::UnreachablePowerKey] = KeyNames::PowerCode;

    // The highest key wins, so every code without a key of its own ends at 1023 (code 0) or
    // at key 0, neither of which has a name.
    for (int key = 0; key < TableSize; ++key)
        m_reverse[std::size_t(m_forward[std::size_t(key)])] = key;
    // Power must come back to its named pseudo key, not the unreachable one, or a key
    // assigned Power would be labelled as having no name.
    m_reverse[KeyNames::PowerCode] = KeyNames::PowerKey;

    for (int key = 0; key < TableSize; ++key) {
        if (m_hasName[std::size_t(key)])
            m_keyOfName.emplace(m_names[std::size_t(key)], key); // keeps the lowest key
    }
    m_built = true;
}

int KeyCatalogue::codeOfKey(int key) const
{
    if (key < 0)
        return -1;
    return m_forward[std::size_t(key & KeyMask)];
}

int KeyCatalogue::keyOfCode(int code) const
{
    if (code < 0)
        return -1;
    return code < TableSize ? m_reverse[std::size_t(code)] : 0;
}

std::string KeyCatalogue::nameOfCode(int code) const
{
    const int key = keyOfCode(code);
    if (key < 0)
        return NoName;
    const std::string *name = nameOfKey(key & KeyMask);
    return name ? *name : std::string(NoName);
}

const std::string *KeyCatalogue::nameOfKey(int key) const
{
    if (key < 0 || key >= TableSize || !m_hasName[std::size_t(key)])
        return nullptr;
    return &m_names[std::size_t(key)];
}

int KeyCatalogue::keyOfName(const std::string &name) const
{
    const auto found = m_keyOfName.find(name);
    return found == m_keyOfName.end() ? -1 : found->second;
}

int KeyCatalogue::defaultCode(int deviceType, int key, int layer)
{
    if (layer < 0 || layer > 1)
        return 0;
    return DefaultCodes::code(deviceType, key, layer);
}

int KeyCatalogue::categoryOfCode(int code)
{
    int category = 1;
    if (code == 0)
        category = 0;
    else if (code >= 75 && code <= 77)
        category = 8;
    else if (code < 108)
        category = 1;
    else if (code < 126)
        category = 5;
    else if (code < 135)
        category = 6;
    else if (code < 199)
        category = 7;
    if (code == 157 || code == 158 || code == 173)
        category = 6;
    return category;
}

const char *KeyCatalogue::categoryName(int category, bool chinese)
{
    if (category < 0 || category >= CategoryCount)
        return "";
    const CategoryNames &names = categoryNames[category];
    return chinese ? names.chinese : names.english;
}
