#include "app/AppState.h"
#include "app/CNuboApp.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    // The one state of the process exists before the application runs.
    const auto state = std::make_unique<AppState>();
    QApplication application(argc, argv);
    CNuboApp quillo(*state);
    return quillo.run();
}
