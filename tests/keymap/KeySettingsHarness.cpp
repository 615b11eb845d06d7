#include "KeySettingsHarness.h"

#include <QCoreApplication>

KeySettingsFixture::KeySettingsFixture(int deviceType, const char *language, int key, int layer)
    : state(std::make_unique<AppState>())
{
    state->buildCatalogue();
    state->language = language;
    state->deviceType = deviceType;
    state->scaleFactor = 1.0f;
    state->resetKeyModel();
    state->currentKey = key;
    state->currentLayer = layer;
    skinsLoaded = skins.load(QCoreApplication::applicationDirPath(), deviceType);
}

std::unique_ptr<ScriptedKeySettings> KeySettingsFixture::open()
{
    auto dialog = std::make_unique<ScriptedKeySettings>(
        context(), keySettingsInput(*state), *state,
        KeySettingsSkins::fromLibrary(skins, state->deviceType));
    if (!dialog->initialise())
        return nullptr;
    dialog->show();
    return dialog;
}

DrawnButton &entryOf(CNuboDialogKeyMapSettings &dialog, int id)
{
    ButtonTable &table = static_cast<ScriptedKeySettings &>(dialog).table();
    const int index = table.indexOfId(id);
    static DrawnButton none;
    return index < 0 ? none : table[std::size_t(index)];
}

std::vector<int> shownButtons(CNuboDialogKeyMapSettings &dialog, int page)
{
    std::vector<int> ids;
    ButtonTable &table = static_cast<ScriptedKeySettings &>(dialog).table();
    for (const DrawnButton &entry : table) {
        if (!entry.isHittable())
            continue;
        const int entryPage = KeySettingsTable::pageOfId(entry.id);
        if (entryPage != 0 && entryPage != dialog.shownPage())
            continue;
        if (page == 0 || entryPage == page)
            ids.push_back(entry.id);
    }
    return ids;
}

QPoint centreOf(CNuboDialogKeyMapSettings &dialog, int id)
{
    const ButtonRect r = entryOf(dialog, id).rect;
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

ActionList namedList(int count, int rows, const std::string &stepPrefix)
{
    ActionList list(rows);
    for (int i = 0; i < count; ++i) {
        list.setAt(20000, "n" + std::to_string(i));
        ActionList &entry = list.items.editBack();
        entry.setAt(20000, stepPrefix + std::to_string(i));
        entry.top = 0;
        entry.selected = 0;
    }
    list.top = 0;
    list.selected = 0;
    return list;
}
