#include "runtime/qt/services.h"

#include "runtime/error.h"
#include "runtime/qt/window.h"
#include "scene/element.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QRegularExpression>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h> // needs windows.h first
#endif

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

bool QtOpenAddress::open(const std::string& address)
{
#ifdef _WIN32
    // The shell takes 8-bit text in the system's code page.
    const QByteArray local = QString::fromStdString(address).toLocal8Bit();
    const auto result = ShellExecuteA(nullptr, nullptr, local.constData(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
#else
    return QDesktopServices::openUrl(desktopUrl(address));
#endif
}

void QtFocus::give(const scene::Element& element)
{
    QWidget* w = window ? window->widget(element.name()) : nullptr;
    if (!w || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window))
        throw rt::RuntimeError(rt::InvalidCall);
    w->setFocus(Qt::OtherFocusReason);
}

} // namespace qtui
