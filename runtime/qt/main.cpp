// Start-up: the window is built from its layout, loaded, shown centred, and the event loop runs.
#include "app/frmcirculo.h"

#include "runtime/qt/look.h"
#include "runtime/qt/services.h"
#include "runtime/qt/window.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(rt::applicationTitle);

    qtui::QtMessageBox messages;
    qtui::QtOpenAddress addresses;
    qtui::QtFocus focus;
    const QString point = QLocale::system().decimalPoint();
    const char separator = point.size() == 1 && point[0].unicode() < 0x80 ? char(point[0].unicode()) : '.';

    frmcirculo form({messages, addresses, focus, separator}, qtui::screenTwipsPerPixel());
    qtui::FormWindow window(form.scene);
    focus.window = &window;
    window.Activate = [&form] { form.Form_Activate(); };

    form.Form_Load();
    window.centre();
    window.show();
    return app.exec();
}
