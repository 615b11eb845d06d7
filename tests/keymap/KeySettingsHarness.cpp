#include "KeySettingsHarness.h"

#include "layout/WindowsColour.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>

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

namespace {

void send(QWidget &widget, QEvent::Type type, QPoint point, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    const QPointF local(point);
    QMouseEvent event(type, local, widget.mapToGlobal(local), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

} // namespace

void moveMouse(QWidget &widget, QPoint point)
{
    send(widget, QEvent::MouseMove, point, Qt::NoButton, Qt::NoButton);
}

void pressAndRelease(QWidget &widget, QPoint point)
{
    moveMouse(widget, point);
    send(widget, QEvent::MouseButtonPress, point, Qt::LeftButton, Qt::LeftButton);
    send(widget, QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton);
}

void doubleClick(QWidget &widget, QPoint point)
{
    pressAndRelease(widget, point);
    send(widget, QEvent::MouseButtonDblClick, point, Qt::LeftButton, Qt::LeftButton);
    send(widget, QEvent::MouseButtonRelease, point, Qt::LeftButton, Qt::NoButton);
}

bool saveArtefact(QWidget &window, unsigned int colourKey, const QString &name)
{
    const QString folder
        = QDir(QCoreApplication::applicationDirPath()).filePath("../test-artefacts");
    if (!QDir().mkpath(folder))
        return false;
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = colourFromWindows(colourKey).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
    }
    return image.save(QDir(folder).filePath(name + ".png"));
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

bool waitUntil(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() >= ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}
