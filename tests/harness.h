// The program's window on the real widgets, with recorders for what it would show or open.
#pragma once
#include "app/frmcirculo.h"

#include "runtime/qt/services.h"
#include "runtime/qt/widgets.h"
#include "runtime/qt/window.h"

#include <QAccessible>
#include <QImage>
#include <QScrollBar>
#include <QTest>

struct Harness {
    explicit Harness(char separator = '.') : form({messages, addresses, focus, separator}), window(form.scene)
    {
        focus.window = &window;
        window.Activate = [this] { form.Form_Activate(); };
        form.Form_Load();
        window.show();
        QAccessible::setActive(true); // as a screen reader does when it comes: the window describes and speaks
    }
    QWidget* w(const char* name) const { return window.widget(name); }
    QScrollBar* bar() const { return static_cast<QScrollBar*>(w("brangulo")); }
    // A panel's inner area in the window, inside its 2-pixel sunken border, where the scene's coordinates start.
    QRect inner(const char* panel) const { return w(panel)->geometry().adjusted(2, 2, -2, -2); }
    // A point (x, y) given in a panel's own coordinates, in the widget's.
    static QPoint at(auto p) { return QPointF(p.x, p.y).toPoint() + QPoint(2, 2); }
    QString caption() const { return static_cast<qtui::LabelWidget*>(w("lblalfa"))->text(); }
    // The angle on the scroll bar and in its caption.
    bool shows(int a) const { return bar()->value() == a && caption() == QString::fromUtf8("α = %1°").arg(a); }
    void activate()
    {
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    qtui::QtFocus focus;
    frmcirculo form;
    qtui::FormWindow window;
};
