// Start-up: the window is built from its layout, loaded, shown centred, and the event loop runs.
#include "app/frmcirculo.h"

#include "runtime/qt/look.h"
#include "runtime/qt/services.h"
#include "runtime/qt/startup.h"
#include "runtime/qt/window.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    qtui::endWithoutDisplay();
    QApplication app(argc, argv);
    qtui::displayFound();
    QApplication::setApplicationName(rt::applicationTitle);
    const qtui::PortugueseTexts texts(QLocale::system());

    qtui::QtMessageBox messages;
    qtui::QtOpenAddress addresses;
    qtui::QtFocus focus;
    frmcirculo form({messages, addresses, focus, qtui::userDecimalSeparator()}, qtui::screenTwipsPerPixel());
    qtui::FormWindow window(form.scene);
    focus.window = &window;
    window.Activate = [&form] { form.Form_Activate(); };
    if (!texts.scrollMenu()) // rather no menu than one in English
        window.widget("brangulo")->setContextMenuPolicy(Qt::NoContextMenu);

    form.Form_Load();
    window.centre();
    window.show();
    qtui::quitWhenDestroyed(window);
    return app.exec();
}
