#pragma once

#include "app/CNuboDlg.h"
#include "model/AppState.h"
#include "skin/FontTable.h"
#include "skin/SkinImages.h"
#include "tests/support/TestEvents.h"

#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <QImage>
#include <QString>

#include <deque>
#include <memory>
#include <vector>

// A main window whose questions, messages and file choices are answered by the test.
class ScriptedMainWindow : public CNuboDlg {
public:
    using CNuboDlg::CNuboDlg;
    using CNuboDlg::table;

    std::vector<QString> messages;
    std::vector<QString> captions; // of the messages
    std::vector<QString> questions;
    std::deque<bool> answers; // answered in order; No when it runs out
    QString savePath;
    QString openPath;
    int saveDialogs = 0;

protected:
    void showMessage(const QString &caption, const QString &text, QMessageBox::Icon) override
    {
        captions.push_back(caption);
        messages.push_back(text);
    }
    bool askYesNo(const QString &, const QString &text) override
    {
        questions.push_back(text);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString chooseSavePath() override
    {
        ++saveDialogs;
        return savePath;
    }
    QString chooseOpenPath() override { return openPath; }
};

// Faces whose pixels say which image they came from and where: red and green follow the
// position, blue tells the image (background 10, hover 120, checked 230).
SkinImages positionCodedSkin(QSize size);
int imageOfPixel(QRgb pixel); // 0 background, 1 hover, 2 checked, -1 neither

// An emulated keyboard of a variant attached for the lifetime of the harness, and a state
// ready for the main window as start-up leaves it.
struct AttachedKeyboard {
    explicit AttachedKeyboard(int variant);
    ~AttachedKeyboard();

    std::shared_ptr<quillosim::SimKeyboard> keyboard;
    AppState state;
    FontTable fonts;
};

// The window painted into an image of its own size.
QImage grabWindow(CNuboDlg &window);
