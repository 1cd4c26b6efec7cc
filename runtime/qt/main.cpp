// Start-up: the window is built from its layout, loaded, shown centred, and the event loop runs.
#include "runtime/qt/program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    qtui::endWithoutDisplay();
    QApplication app(argc, argv);
    qtui::displayFound();
    QApplication::setApplicationName(rt::applicationTitle);
    qtui::Program program;
    program.show();
    return app.exec();
}
