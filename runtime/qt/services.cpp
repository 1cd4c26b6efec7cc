#include "runtime/qt/services.h"

#include "runtime/error.h"
#include "runtime/qt/window.h"
#include "scene/element.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QRegularExpression>

namespace qtui {

void QtMessageBox::show(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, rt::applicationTitle, QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
}

QUrl desktopUrl(const std::string& address)
{
    const QString text = QString::fromStdString(address);
    static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]*:");
    if (scheme.match(text).hasMatch())
        return QUrl(text);
    return QUrl(QStringLiteral("http://") + text);
}

bool QtOpenAddress::open(const std::string& address) { return QDesktopServices::openUrl(desktopUrl(address)); }

void QtFocus::give(const scene::Element& element)
{
    QWidget* w = window ? window->widget(element.name()) : nullptr;
    if (!w || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window))
        throw rt::RuntimeError(rt::InvalidCall);
    w->setFocus(Qt::OtherFocusReason);
}

} // namespace qtui
