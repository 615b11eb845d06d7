#include "keymap/StepMenu.h"

#include "model/StepEditing.h"

#include <QAction>
#include <QMenu>

namespace {

struct Item {
    int id;
    const char *zh;
    const char *en;
};

struct Popup {
    const char *zh;
    const char *en;
    Item items[3];
};

using namespace StepEditing;

constexpr Popup popups[] = {
    {"鼠标左键",
     "Left Click",
     {{LeftPress, "按下", "Press"},
      {LeftRelease, "释放", "Release"},
      {LeftClick, "点击", "Click"}}},
    {"鼠标右键",
     "Right Click",
     {{RightPress, "按下", "Press"},
      {RightRelease, "释放", "Release"},
      {RightClick, "点击", "Click"}}},
    {"鼠标中键",
     "Middle Click",
     {{MiddlePress, "按下", "Press"},
      {MiddleRelease, "释放", "Release"},
      {MiddleClick, "点击", "Click"}}},
    {"滚轮", "Wheel", {{WheelUp, "前翻", "Up"}, {WheelDown, "后翻", "Down"}, {0, "", ""}}},
};
constexpr Item deleteItem{DeleteStep, "删除", "Delete"};

// Graphite with the orange accent of the faces.
constexpr const char *Style = "QMenu { background: #1b1e22; color: #c8c8c8;"
                              " border: 1px solid #3a4049; padding: 3px 0px; }"
                              " QMenu::item { padding: 3px 22px 3px 14px; }"
                              " QMenu::item:selected { background: #ff6f00; color: #141414; }"
                              " QMenu::separator { height: 1px; background: #3a4049;"
                              " margin: 3px 6px; }"
                              " QMenu::right-arrow { width: 8px; height: 8px; }";

QString text(const char *zh, const char *en, bool chinese)
{
    return QString::fromUtf8(chinese ? zh : en);
}

void addItem(QMenu *menu, const Item &item, bool chinese)
{
    QAction *action = menu->addAction(text(item.zh, item.en, chinese));
    action->setData(item.id);
}

} // namespace

QMenu *StepMenu::create(QWidget *parent, bool chinese, const QFont &font)
{
    auto *menu = new QMenu(parent);
    menu->setFont(font);
    menu->setStyleSheet(QString::fromLatin1(Style));
    for (const Popup &popup : popups) {
        QMenu *sub = menu->addMenu(text(popup.zh, popup.en, chinese));
        sub->setStyleSheet(QString::fromLatin1(Style));
        sub->setFont(font);
        for (const Item &item : popup.items) {
            if (item.id != 0)
                addItem(sub, item, chinese);
        }
    }
    menu->addSeparator();
    addItem(menu, deleteItem, chinese);
    return menu;
}

int StepMenu::run(QWidget *parent, const QPoint &globalPos, bool chinese, const QFont &font)
{
    QMenu *menu = create(parent, chinese, font);
    const QAction *chosen = menu->exec(globalPos);
    const int item = chosen ? chosen->data().toInt() : 0;
    menu->deleteLater();
    return item;
}
