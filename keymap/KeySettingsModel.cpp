#include "keymap/KeySettingsModel.h"

#include "model/KeyCatalogue.h"
#include "model/StepEditing.h"

namespace {

bool isCodePage(int page)
{
    return page >= KeySettingsModel::MultimediaPage && page <= KeySettingsModel::PowerPage;
}

} // namespace

KeySettingsModel::KeySettingsModel(const KeySettingsInput &input)
    : m_catalogue(input.catalogue)
    , m_key(input.key)
    , m_layer(input.layer == 1 ? 1 : 0)
    , m_deviceType(input.deviceType)
    , m_original(input.assignment)
    , m_lists{WorkingList(input.combos, 6), WorkingList(input.macros, 9),
              WorkingList(input.emulations, 9)}
    , m_recorder(m_catalogue)
{
    const int code = m_original.code;
    switch (m_original.category) {
    case KeyAssignment::Single:
        m_singleKey = m_catalogue.keyOfCode(code);
        break;
    case KeyAssignment::Combo:
        m_singleMode = false;
        combos().locate(m_original.action);
        break;
    case KeyAssignment::Macro:
        m_page = MacroPage;
        macros().locate(m_original.action);
        break;
    case KeyAssignment::Emulation:
        m_page = EmulatePage;
        emulations().locate(m_original.action);
        break;
    case KeyAssignment::Multimedia:
    case KeyAssignment::Mouse:
    case KeyAssignment::Function:
    case KeyAssignment::Power:
        showCode(m_original.category - KeyAssignment::Multimedia + MultimediaPage, code);
        break;
    default:
        break;
    }
}

void KeySettingsModel::showPage(int page)
{
    if (page >= SingleComboPage && page <= PowerPage)
        m_page = page;
}

int KeySettingsModel::singleKeyCode() const
{
    return m_singleKey < 0 ? 0 : m_catalogue.codeOfKey(m_singleKey);
}

int KeySettingsModel::chosenCode(int page) const
{
    return isCodePage(page) ? m_codes[std::size_t(page - MultimediaPage)] : NoCode;
}

void KeySettingsModel::toggleCode(int page, int code)
{
    if (!isCodePage(page))
        return;
    int &chosen = m_codes[std::size_t(page - MultimediaPage)];
    chosen = chosen == code ? NoCode : code;
}

void KeySettingsModel::showCode(int page, int code)
{
    m_page = page;
    m_codes[std::size_t(page - MultimediaPage)] = code;
}

WorkingList *KeySettingsModel::listOfPage(int page)
{
    switch (page) {
    case SingleComboPage:
        return &combos();
    case MacroPage:
        return &macros();
    case EmulatePage:
        return &emulations();
    default:
        return nullptr;
    }
}

WorkingList *KeySettingsModel::listOfRecording(Recording kind)
{
    switch (kind) {
    case Recording::Combination:
        return &combos();
    case Recording::Macro:
        return &macros();
    case Recording::Emulation:
        return &emulations();
    default:
        return nullptr;
    }
}

bool KeySettingsModel::startRecording(Recording kind)
{
    if (kind == Recording::None || m_recording != Recording::None)
        return false;
    WorkingList *list = listOfRecording(kind);
    if (list) {
        if (list->size() == 0 || (kind == Recording::Combination && m_singleMode))
            return false;
        ActionList &entry = list->current();
        entry.names.clear();
        entry.items.clear();
        entry.top = 0;
        entry.selected = 0;
        list->hold(true);
        m_recordedIndex = list->selectedIndex();
        m_recordedSerial = list->currentSerial();
    }
    m_recorder.reset();
    m_recording = kind;
    return true;
}

ActionList *KeySettingsModel::recordedEntry()
{
    WorkingList *list = listOfRecording(m_recording);
    if (!list || list->selectedIndex() != m_recordedIndex
        || list->currentSerial() != m_recordedSerial)
        return nullptr;
    return &list->current();
}

KeyRecorder::Outcome KeySettingsModel::hookMessage(std::uintptr_t wParam, std::intptr_t lParam,
                                                   std::optional<std::uint32_t> eventTimeMs)
{
    if (m_recording == Recording::None)
        return {};
    ActionList none;
    ActionList *entry = recordedEntry();
    // Another entry has become current somehow: its steps are not this recording's.
    if (!entry && m_recording != Recording::SingleKey)
        return {};
    return m_recorder.record(m_recording, wParam, lParam, eventTimeMs, entry ? *entry : none,
                             m_singleKey);
}

void KeySettingsModel::stopRecording()
{
    WorkingList *list = listOfRecording(m_recording);
    if (ActionList *entry = recordedEntry()) {
        if (m_recording == Recording::Macro)
            KeyRecorder::finishMacro(*entry);
        list->storeCurrent();
    } else if (list) {
        // The selection moved under the recording: its steps belong to no entry shown.
        list->reloadCurrent();
    }
    if (list)
        list->hold(false);
    m_recording = Recording::None;
    m_recordedIndex = -1;
}

KeySettingsModel::RecordingMark KeySettingsModel::recordingMark()
{
    const ActionList *entry = recordedEntry();
    return {entry ? entry->size() : 0, m_singleKey};
}

void KeySettingsModel::rollBack(const RecordingMark &mark)
{
    if (m_recording == Recording::SingleKey) {
        m_singleKey = mark.singleKey;
        return;
    }
    ActionList *entry = recordedEntry();
    // A row past the end removes the last step.
    while (entry && entry->size() > mark.steps)
        entry->removeAt(entry->size());
}

void KeySettingsModel::setCombinationCodes(const std::vector<int> &codes)
{
    ActionList &combination = combos().current();
    combination.names.clear();
    combination.items.clear();
    combination.top = 0;
    combination.selected = 0;
    for (int code : codes) {
        if (combination.size() >= StepEditing::MaxComboKeys)
            break;
        combination.append(m_catalogue.nameOfCode(code));
    }
    combos().storeCurrent();
}

void KeySettingsModel::restoreDefault()
{
    showDefaultCode(KeyCatalogue::defaultCode(m_deviceType, m_key, m_layer));
}

void KeySettingsModel::showDefaultCode(int d)
{
    if (d < 108 || d == 204) {
        m_page = SingleComboPage;
        m_singleMode = true;
        m_singleKey = m_catalogue.keyOfCode(d);
    } else if (d <= 134 || d == 157 || d == 158 || d == 173) {
        showCode(d <= 125 ? MultimediaPage : MousePage, d);
    } else if (d <= 198) {
        showCode(FunctionPage, d);
    }
}

void KeySettingsModel::clear()
{
    m_page = SingleComboPage;
    m_singleMode = true;
    m_singleKey = -1;
}

KeyMapChange KeySettingsModel::confirm() const
{
    KeyMapChange change;
    change.key = m_key;
    change.layer = m_layer;
    change.assignment = m_original;
    KeyAssignment &result = change.assignment;
    result.category = KeyAssignment::NotSet;

    const auto takeAction = [&](const WorkingList &list, int category) {
        if (list.current().size() > 0) {
            result.action = list.current();
            result.category = category;
            result.code = 0;
        }
    };
    switch (m_page) {
    case SingleComboPage:
        if (m_singleMode) {
            const int code = singleKeyCode();
            if (m_singleKey >= 0 && code > 0) {
                result.code = code;
                result.category = KeyAssignment::Single;
            }
        } else {
            takeAction(combos(), KeyAssignment::Combo);
        }
        change.list = KeyMapChange::List::Combos;
        change.listValue = combos().result();
        break;
    case MacroPage:
        takeAction(macros(), KeyAssignment::Macro);
        change.list = KeyMapChange::List::Macros;
        change.listValue = macros().result();
        break;
    case EmulatePage:
        takeAction(emulations(), KeyAssignment::Emulation);
        change.list = KeyMapChange::List::Emulations;
        change.listValue = emulations().result();
        break;
    default: {
        const int code = chosenCode(m_page);
        if (code >= 1) {
            result.code = code;
            result.category = KeyAssignment::Multimedia + (m_page - MultimediaPage);
        }
        change.fnOnBothLayers = m_page == FunctionPage && code == FnCode;
        break;
    }
    }
    return change;
}
