#include "profile/ProfileFile.h"

#include "model/Configuration.h"
#include "model/KeyCatalogue.h"
#include "model/KeyboardModel.h"
#include "model/PressCounters.h"
#include "profile/MarkupDocument.h"
#include "profile/MarkupText.h"
#include "profile/TextCodec.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

constexpr std::u16string_view Declaration = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Profiles are rooted in the model's name.
const std::array<std::u16string, KeyboardModel::Count> &rootNames()
{
    static const auto names = [] {
        std::array<std::u16string, KeyboardModel::Count> wide;
        for (int i = 0; i < KeyboardModel::Count; ++i) {
            for (const char *c = KeyboardModel::names[i]; *c; ++c)
                wide[std::size_t(i)] += char16_t(*c);
        }
        return wide;
    }();
    return names;
}

// A list nests at most three levels (list, entry, step); deeper ones are not followed.
constexpr int MaxListDepth = 3;
// Entry positions above this are not plausible; a macro has at most 799 steps.
constexpr int MaxEntryId = 100000;
// Entries that sparse positions may create in one read, so that a few small elements cannot
// ask for unbounded memory. The largest profile the program writes has about 300000.
constexpr std::size_t MaxEntries = 1000000;

// Decimal text to integer like atoi: leading blanks, a sign, digits up to the first other
// character; no digits give 0. Values out of range saturate.
int toInt(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > -(long long)INT_MIN)
            value = -(long long)INT_MIN;
    }
    if (negative)
        value = -value;
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// A number attribute as read; references, which no program-written file has, are decoded.
int intValue(std::u16string_view raw)
{
    // Up to nine plain digits, as the program writes nearly all numbers, cannot overflow.
    if (!raw.empty() && raw.size() <= 9) {
        int value = 0;
        std::size_t i = 0;
        for (; i < raw.size() && raw[i] >= u'0' && raw[i] <= u'9'; ++i)
            value = value * 10 + (raw[i] - u'0');
        if (i == raw.size())
            return value;
    }
    if (MarkupText::findUnit(raw, u'&', 0) == std::u16string_view::npos)
        return toInt(raw);
    return toInt(MarkupText::unescape(raw));
}

// The integer attributes of the current element, in the order they are usually written.
template<std::size_t N>
std::array<int, N> intAttribs(const MarkupDocument &doc,
                              const std::array<std::u16string_view, N> &names)
{
    std::array<std::u16string_view, N> raw;
    doc.rawAttribs(names, raw);
    std::array<int, N> values{};
    for (std::size_t i = 0; i < N; ++i)
        values[i] = intValue(raw[i]);
    return values;
}

constexpr std::array<std::u16string_view, 7> listAttributes
    = {u"SizeOfView",     u"ViewStartAt", u"CursorPos", u"Cycles",
       u"IsAutoInterval", u"Delay",       u"PlayMode"};
constexpr std::array<std::u16string_view, 4> areaAttributes = {u"ID", u"Red", u"Green", u"Blue"};
constexpr std::array<std::u16string_view, 4> keyAttributes = {u"ID", u"Level", u"Mode", u"HWCode"};
constexpr std::array<std::u16string_view, 2> entryAttributes = {u"ID", u"t1"};

// About how many UTF-16 units a list takes in the file, so the text is allocated once.
std::size_t estimatedUnits(const ActionList &list)
{
    std::size_t units = 128;
    for (std::size_t i = 0; i < list.names.size(); ++i) {
        units += 40 + list.names[i].size() * 2;
        if (i < list.items.size())
            units += estimatedUnits(list.items[i]);
        else
            units += 128;
    }
    return units;
}

// Notes what reading changed, when someone asks.
class ChangeLog {
public:
    explicit ChangeLog(std::vector<ProfileValueChange> *changes)
        : m_changes(changes)
    {}
    void add(const char *element, int key, int layer, const char *field, int from,
             std::string to = {})
    {
        if (m_changes)
            m_changes->push_back({element, key, layer, field, std::to_string(from), std::move(to)});
    }

private:
    std::vector<ProfileValueChange> *m_changes;
};

class Reader {
public:
    Reader(MarkupDocument &doc, ChangeLog &log)
        : m_doc(doc)
        , m_log(log)
    {}

    void readList(ActionList &list, int depth);

private:
    MarkupDocument &m_doc;
    ChangeLog &m_log;
    std::size_t m_budget = MaxEntries;
};

void Reader::readList(ActionList &list, int depth)
{
    list.clear();
    if (!m_doc.findElem(u"List"))
        return;
    const auto values = intAttribs(m_doc, listAttributes);
    list.pageRows = values[0];
    list.top = values[1];
    list.selected = values[2];
    list.times = values[3];
    list.autoDelay = values[4] != 0;
    list.delayMs = values[5];
    list.playMode = values[6];
    if (depth >= MaxListDepth)
        return;
    // Built aside and handed over whole: the list's storage is shared by its copies.
    std::vector<std::string> names;
    std::vector<ActionList> items;
    m_doc.intoElem();
    while (m_doc.findElem(u"x")) {
        std::array<std::u16string_view, 2> raw;
        m_doc.rawAttribs(entryAttributes, raw);
        const int i = intValue(raw[0]);
        if (i < 0 || i > MaxEntryId) {
            m_log.add("x", 0, -1, "ID", i);
            continue;
        }
        if (std::size_t(i) >= names.size()) {
            const std::size_t grow = std::size_t(i) + 1 - names.size();
            if (grow > m_budget)
                continue;
            m_budget -= grow;
            names.resize(std::size_t(i) + 1);
            items.resize(std::size_t(i) + 1);
        }
        names[std::size_t(i)] = raw[1].find(u'&') == std::u16string_view::npos
                                    ? TextCodec::toUtf8(raw[1])
                                    : TextCodec::toUtf8(MarkupText::unescape(raw[1]));
        ActionList item;
        m_doc.intoElem();
        readList(item, depth + 1);
        m_doc.outOfElem();
        items[std::size_t(i)] = std::move(item);
    }
    m_doc.outOfElem();
    list.names = std::move(names);
    list.items = std::move(items);
    list.clampPositions();
}

void writeList(MarkupDocument &doc, const ActionList &list, bool &ok)
{
    ok = doc.addElem(u"List") && ok;
    doc.setAttrib(u"SizeOfView", list.pageRows);
    doc.setAttrib(u"ViewStartAt", list.top);
    doc.setAttrib(u"CursorPos", list.selected);
    doc.setAttrib(u"Cycles", list.times);
    doc.setAttrib(u"IsAutoInterval", list.autoDelay ? 1 : 0);
    doc.setAttrib(u"Delay", list.delayMs);
    doc.setAttrib(u"PlayMode", list.playMode);
    if (list.names.empty())
        return;
    doc.intoElem();
    for (std::size_t i = 0; i < list.names.size(); ++i) {
        ok = doc.addElem(u"x") && ok;
        doc.setAttrib(u"ID", int(i));
        doc.setAttrib(u"t1", TextCodec::fromUtf8(list.names[i]));
        doc.intoElem();
        writeList(doc, i < list.items.size() ? list.items[i] : ActionList(), ok);
        doc.outOfElem();
    }
    doc.outOfElem();
}

void writeSection(MarkupDocument &doc, std::u16string_view name, const ActionList &list, bool &ok)
{
    ok = doc.addElem(name) && ok;
    doc.intoElem();
    writeList(doc, list, ok);
    doc.outOfElem();
}

bool readSection(MarkupDocument &doc, Reader &reader, std::u16string_view name, ActionList &list)
{
    if (!doc.findElem(name))
        return false;
    doc.intoElem();
    reader.readList(list, 1);
    doc.outOfElem();
    return true;
}

// Which variant a root element name belongs to, 0 for none.
int variantOfRoot(std::u16string_view name)
{
    const auto &names = rootNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name)
            return int(i) + 1;
    }
    return 0;
}

} // namespace

std::u16string_view profileRootName(int deviceType)
{
    const int variant = deviceType >= 2 && deviceType <= KeyboardModel::Count ? deviceType : 1;
    return rootNames()[std::size_t(variant - 1)];
}

bool buildProfile(const Configuration &config, int deviceType, MarkupDocument &doc)
{
    doc.setDoc(Declaration);
    std::size_t units = 4096 + Configuration::KeyCount * 64;
    for (const ActionList *list :
         {&config.predefinedCombos, &config.predefinedMacros, &config.predefinedEmulations})
        units += estimatedUnits(*list);
    for (const ActionList &action : config.action)
        units += 96 + estimatedUnits(action);
    doc.reserve(units);
    bool ok = doc.addElem(profileRootName(deviceType));
    doc.intoElem();
    writeSection(doc, u"PredefinedCombo", config.predefinedCombos, ok);
    writeSection(doc, u"PredefinedMacro", config.predefinedMacros, ok);
    writeSection(doc, u"PredefinedEmu", config.predefinedEmulations, ok);

    ok = doc.addElem(u"BackgroundLightSettings") && ok;
    doc.intoElem();
    for (int key = 1; key <= Configuration::KeyCount; ++key) {
        const LightColour &colour = config.lightSettings[std::size_t(key)];
        ok = doc.addElem(u"AREA") && ok;
        doc.setAttrib(u"ID", key);
        doc.setAttrib(u"Red", colour.red);
        doc.setAttrib(u"Green", colour.green);
        doc.setAttrib(u"Blue", colour.blue);
    }
    doc.outOfElem();

    ok = doc.addElem(u"CurrentSettings") && ok;
    doc.intoElem();
    for (int key = 1; key <= Configuration::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const auto i = std::size_t(Configuration::index(key, layer));
            ok = doc.addElem(u"KEY") && ok;
            doc.setAttrib(u"ID", key);
            doc.setAttrib(u"Level", layer);
            doc.setAttrib(u"Mode", config.category[i]);
            doc.setAttrib(u"HWCode", config.code[i]);
            doc.intoElem();
            ok = doc.addElem(u"ComboKey") && ok;
            doc.intoElem();
            writeList(doc, config.action[i], ok);
            doc.outOfElem();
            doc.outOfElem();
        }
    }
    doc.outOfElem();
    return ok;
}

bool writeProfile(const Configuration &config, int deviceType, const std::filesystem::path &path,
                  FileStore::WriteFailure *failure)
{
    MarkupDocument doc;
    return buildProfile(config, deviceType, doc) && doc.save(path, failure);
}

ProfileReadResult readProfile(Configuration &config, PressCounters &counters, int deviceType,
                              const std::filesystem::path &path, DamagedProfile damaged,
                              MarkupError *firstError)
{
    ProfileReadReport report;
    const ProfileReadResult result
        = readProfile(config, counters, deviceType, path, damaged, &report);
    if (firstError)
        *firstError = report.damage;
    return result;
}

ProfileReadResult readProfile(Configuration &config, PressCounters &counters, int deviceType,
                              const std::filesystem::path &path, DamagedProfile damaged,
                              ProfileReadReport *report)
{
    if (report)
        *report = {};
    MarkupDocument doc;
    const ProfileReadResult loaded
        = loadProfileFile(path, doc, report ? &report->fileError : nullptr);
    if (loaded != ProfileReadResult::Ok)
        return loaded;
    return readProfileDocument(config, counters, deviceType, doc, damaged, report);
}

ProfileReadResult loadProfileFile(const std::filesystem::path &path, MarkupDocument &doc,
                                  std::string *fileError)
{
    if (doc.load(path))
        return ProfileReadResult::Ok;
    if (fileError)
        *fileError = doc.loadError();
    switch (doc.loadStatus()) {
    case FileStore::ReadStatus::NotAFile:
        return ProfileReadResult::NotAFile;
    case FileStore::ReadStatus::TooLarge:
        return ProfileReadResult::TooLarge;
    default:
        return ProfileReadResult::CannotOpen;
    }
}

int profileRootVariant(MarkupDocument &doc)
{
    doc.resetPos();
    int variant = 0;
    while (variant == 0 && doc.findElem())
        variant = variantOfRoot(doc.tagName());
    doc.resetPos();
    return variant;
}

ProfileReadResult readProfileDocument(Configuration &config, PressCounters &counters,
                                      int deviceType, MarkupDocument &doc, DamagedProfile damaged,
                                      MarkupError *firstError)
{
    ProfileReadReport report;
    const ProfileReadResult result
        = readProfileDocument(config, counters, deviceType, doc, damaged, &report);
    if (firstError)
        *firstError = report.damage;
    return result;
}

ProfileReadResult readProfileDocument(Configuration &config, PressCounters &counters,
                                      int deviceType, MarkupDocument &doc, DamagedProfile damaged,
                                      ProfileReadReport *report)
{
    if (report)
        *report = {};
    // Everything is read into temporaries first, so a refused file changes nothing.
    const int variant = profileRootVariant(doc);
    const int wanted = variantOfRoot(profileRootName(deviceType));
    if (variant == 0)
        return ProfileReadResult::NotAProfile;
    // Another keyboard's profile is refused however good or bad its markup.
    if (variant != wanted)
        return ProfileReadResult::OtherVariant;
    if (!doc.isWellFormed()) {
        if (report)
            report->damage = doc.firstError();
        // Reading it whole would silently reset what lies beyond the damage, so only on request.
        if (damaged == DamagedProfile::Refuse)
            return ProfileReadResult::Damaged;
    }

    ActionList combos(6);
    ActionList macros(9);
    ActionList emulations(9);
    LightSettings lights{};
    std::array<int, Configuration::EntryCount> category{};
    std::array<int, Configuration::EntryCount> code{};
    std::array<ActionList, Configuration::EntryCount> action;
    // Keys the file does not mention keep the factory defaults of the variant.
    for (int i = 0; i < Configuration::EntryCount; ++i) {
        const auto at = std::size_t(i);
        code[at] = KeyCatalogue::defaultCode(deviceType, i / 2, i % 2);
        category[at] = KeyCatalogue::categoryOfCode(code[at]);
        action[at].pageRows = config.action[at].pageRows;
    }

    std::vector<ProfileValueChange> changes;
    ChangeLog log(report ? &changes : nullptr);
    Reader reader(doc, log);
    doc.resetPos();
    doc.findElem(profileRootName(deviceType));
    doc.intoElem();
    readSection(doc, reader, u"PredefinedCombo", combos);
    readSection(doc, reader, u"PredefinedMacro", macros);
    readSection(doc, reader, u"PredefinedEmu", emulations);

    if (doc.findElem(u"BackgroundLightSettings")) {
        doc.intoElem();
        while (doc.findElem(u"AREA")) {
            const auto [id, red, green, blue] = intAttribs(doc, areaAttributes);
            if (id < 1 || id > Configuration::KeyCount) {
                log.add("AREA", 0, -1, "ID", id);
                continue;
            }
            LightColour &colour = lights[std::size_t(id)];
            const int key = id; // a structured binding cannot be captured by every compiler
            const auto component = [&](const char *name, int value) {
                const int kept = std::clamp(value, 0, 255);
                if (kept != value)
                    log.add("AREA", key, -1, name, value, std::to_string(kept));
                return kept;
            };
            colour.red = component("Red", red);
            colour.green = component("Green", green);
            colour.blue = component("Blue", blue);
        }
        doc.outOfElem();
    }

    if (doc.findElem(u"CurrentSettings")) {
        doc.intoElem();
        while (doc.findElem(u"KEY")) {
            const auto [key, layer, mode, hwCode] = intAttribs(doc, keyAttributes);
            // Values no keyboard has would index past the program's tables; such a key keeps
            // its default.
            if (key < 1 || key > Configuration::KeyCount || layer < 0 || layer > 1) {
                log.add("KEY", 0, -1, key < 1 || key > Configuration::KeyCount ? "ID" : "Level",
                        key < 1 || key > Configuration::KeyCount ? key : layer);
                continue;
            }
            if (mode < 0 || mode > 8 || hwCode < 0 || hwCode > 255) {
                const bool badMode = mode < 0 || mode > 8;
                log.add("KEY", key, layer, badMode ? "Mode" : "HWCode", badMode ? mode : hwCode,
                        "the key's default");
                continue;
            }
            const auto i = std::size_t(Configuration::index(key, layer));
            category[i] = mode;
            code[i] = hwCode;
            doc.intoElem();
            if (doc.findElem(u"ComboKey")) {
                doc.intoElem();
                reader.readList(action[i], 1);
                doc.outOfElem();
            } else {
                action[i].clear();
            }
            doc.outOfElem();
        }
        doc.outOfElem();
    }

    config.predefinedCombos = std::move(combos);
    config.predefinedMacros = std::move(macros);
    config.predefinedEmulations = std::move(emulations);
    config.lightSettings = lights;
    config.category = category;
    config.code = code;
    config.action = std::move(action);
    counters.reset();
    if (report)
        report->changes = std::move(changes);
    return ProfileReadResult::Ok;
}
