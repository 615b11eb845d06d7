#include "PugiProfile.h"

#include "model/AppState.h"

#include <pugixml.hpp>

#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char *Root = "Profile";

void writeList(pugi::xml_node parent, const ActionList &list)
{
    pugi::xml_node node = parent.append_child("List");
    node.append_attribute("SizeOfView") = list.pageRows;
    node.append_attribute("ViewStartAt") = list.top;
    node.append_attribute("CursorPos") = list.selected;
    node.append_attribute("Cycles") = list.times;
    node.append_attribute("IsAutoInterval") = list.autoDelay ? 1 : 0;
    node.append_attribute("Delay") = list.delayMs;
    node.append_attribute("PlayMode") = list.playMode;
    for (std::size_t i = 0; i < list.names.size(); ++i) {
        pugi::xml_node x = node.append_child("x");
        x.append_attribute("ID") = int(i);
        x.append_attribute("t1") = list.names[i].c_str();
        writeList(x, i < list.items.size() ? list.items[i] : ActionList());
    }
}

void readList(pugi::xml_node parent, ActionList &list, int depth)
{
    list.clear();
    const pugi::xml_node node = parent.child("List");
    if (!node)
        return;
    list.pageRows = node.attribute("SizeOfView").as_int();
    list.top = node.attribute("ViewStartAt").as_int();
    list.selected = node.attribute("CursorPos").as_int();
    list.times = node.attribute("Cycles").as_int();
    list.autoDelay = node.attribute("IsAutoInterval").as_int() != 0;
    list.delayMs = node.attribute("Delay").as_int();
    list.playMode = node.attribute("PlayMode").as_int();
    if (depth >= 3)
        return;
    std::vector<std::string> names;
    std::vector<ActionList> items;
    for (const pugi::xml_node x : node.children("x")) {
        const int i = x.attribute("ID").as_int();
        if (i < 0 || i > 100000)
            continue;
        if (std::size_t(i) >= names.size()) {
            names.resize(std::size_t(i) + 1);
            items.resize(std::size_t(i) + 1);
        }
        names[std::size_t(i)] = x.attribute("t1").value();
        ActionList item;
        readList(x, item, depth + 1);
        items[std::size_t(i)] = std::move(item);
    }
    list.names = std::move(names);
    list.items = std::move(items);
}

} // namespace

bool pugiWriteProfile(const AppState &state, const std::filesystem::path &path, bool durable)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child(Root);
    writeList(root.append_child("PredefinedCombo"), state.predefinedCombos);
    writeList(root.append_child("PredefinedMacro"), state.predefinedMacros);
    writeList(root.append_child("PredefinedEmu"), state.predefinedEmulations);
    pugi::xml_node lights = root.append_child("BackgroundLightSettings");
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        const LightColour &c = state.lightSettings[std::size_t(key)];
        pugi::xml_node area = lights.append_child("AREA");
        area.append_attribute("ID") = key;
        area.append_attribute("Red") = c.red;
        area.append_attribute("Green") = c.green;
        area.append_attribute("Blue") = c.blue;
    }
    pugi::xml_node keys = root.append_child("CurrentSettings");
    for (int key = 1; key <= AppState::KeyCount; ++key) {
        for (int layer = 0; layer < 2; ++layer) {
            const auto i = std::size_t(AppState::index(key, layer));
            pugi::xml_node k = keys.append_child("KEY");
            k.append_attribute("ID") = key;
            k.append_attribute("Level") = layer;
            k.append_attribute("Mode") = state.category[i];
            k.append_attribute("HWCode") = state.code[i];
            writeList(k.append_child("ComboKey"), state.action[i]);
        }
    }
    // One element per line without indentation, as our files are.
    if (!doc.save_file(path.c_str(), "", pugi::format_indent, pugi::encoding_utf8))
        return false;
    if (!durable)
        return true;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return synced;
}

bool pugiReadProfile(AppState &state, const std::filesystem::path &path)
{
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str()))
        return false;
    const pugi::xml_node root = doc.child(Root);
    if (!root)
        return false;
    readList(root.child("PredefinedCombo"), state.predefinedCombos, 1);
    readList(root.child("PredefinedMacro"), state.predefinedMacros, 1);
    readList(root.child("PredefinedEmu"), state.predefinedEmulations, 1);
    for (const pugi::xml_node area : root.child("BackgroundLightSettings").children("AREA")) {
        const int id = area.attribute("ID").as_int();
        if (id < 1 || id > AppState::KeyCount)
            continue;
        LightColour &c = state.lightSettings[std::size_t(id)];
        c.red = area.attribute("Red").as_int();
        c.green = area.attribute("Green").as_int();
        c.blue = area.attribute("Blue").as_int();
    }
    for (const pugi::xml_node k : root.child("CurrentSettings").children("KEY")) {
        const int key = k.attribute("ID").as_int();
        const int layer = k.attribute("Level").as_int();
        if (key < 1 || key > AppState::KeyCount || layer < 0 || layer > 1)
            continue;
        const auto i = std::size_t(AppState::index(key, layer));
        state.category[i] = k.attribute("Mode").as_int();
        state.code[i] = k.attribute("HWCode").as_int();
        readList(k.child("ComboKey"), state.action[i], 1);
    }
    state.pressCounters.reset();
    return true;
}
