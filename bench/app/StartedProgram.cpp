#include "StartedProgram.h"

#include "FirstFrame.h"

#include "jobs/DeviceWorker.h"
#include "layout/SkinSet.h"
#include "sim/SimHidBackend.h"
#include "sim/SimKeyboard.h"

#include <quillodev/HidBackend.h>

#include <QCoreApplication>

StartedProgram::StartedProgram(int variant, bool mainWindow)
    : keyboard(quillosim::SimKeyboard::create(variant))
{
    quillodev::setHidBackend(std::make_shared<quillosim::SimHidBackend>(keyboard));
    state.deviceType = state.hwi.DetectDeviceType();
    state.scaleFactor = 1.5f;
    // The skin library lies beside the benchmark programs, as beside quillo-sim. The windows
    // before the main window come while no keyboard is found, with the library for none.
    if (!skins.load(QCoreApplication::applicationDirPath(), mainWindow ? state.deviceType : 0)) {
        m_error = skins.errorText(false).toStdString();
        return;
    }
    state.buildCatalogue();
    if (!mainWindow)
        return;
    window = std::make_unique<CNuboDlg>(
        state, fonts, skins.images(SkinIds::skinSet(SkinDialog::MainWindow, state.deviceType)));
    window->setSkinLibrary(&skins);
    window->setUnattended(true);
    if (!window->initialise())
        m_error = "the main window did not start";
    else if (!showAndPaint(*window))
        m_error = "the main window never painted";
}

StartedProgram::~StartedProgram()
{
    if (window)
        window->deviceWorker().wait();
    window.reset();
    state.hwi.__closeDev();
    quillodev::setHidBackend(nullptr);
}
