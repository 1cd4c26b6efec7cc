// Renders the window offscreen at a given angle to a PNG: snapshot ANGLE OUT.png
#include "app/frmcirculo.h"

#include "runtime/qt/window.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: snapshot ANGLE OUT.png\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int angle = std::atoi(argv[1]);
    if (angle < 0 || angle > 360) {
        std::fprintf(stderr, "snapshot: the angle is a whole number from 0 to 360\n");
        return 2;
    }
    QApplication app(argc, argv);
    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::RecordedFocus focus;
    frmcirculo form({messages, addresses, focus, '.'});
    qtui::FormWindow window(form.scene);
    form.Form_Load();
    window.show();
    form.brangulo.setValue(static_cast<std::int16_t>(angle));
    if (!window.grab().save(argv[2])) {
        std::fprintf(stderr, "snapshot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
