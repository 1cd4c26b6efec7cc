#include "runtime/qt/startup.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace qtui {
namespace {

QtMessageHandler previous = nullptr;
std::vector<std::pair<QtMsgType, QString>> heldBack; // start-up messages, shown only if a display answers

// The environment variable through which a platform plugin finds its display.
const char* displayVariable(const QString& plugin)
{
    return plugin.startsWith(QLatin1String("wayland")) ? "WAYLAND_DISPLAY" : "DISPLAY";
}

// Qt's platform plugins on Linux and the Debian packages that hold them; a name not here is no platform at all.
const char* pluginPackage(const QString& plugin)
{
    if (plugin == QLatin1String("xcb"))
        return "libqt6gui6";
    if (plugin.startsWith(QLatin1String("wayland")))
        return "qt6-wayland";
    for (const char* name : {"eglfs", "linuxfb", "minimal", "minimalegl", "offscreen", "vkkhrdisplay", "vnc"})
        if (plugin == QLatin1String(name))
            return "qt6-qpa-plugins";
    return nullptr;
}

void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        heldBack.emplace_back(type, text);
        return;
    }
    if (!text.contains(QLatin1String("platform plugin"))) { // some other fault: the toolkit's own words
        displayFound();
        qt_message_output(type, context, text);
        return;
    }
    // The plugins that were tried, as the toolkit names them: Could not find the Qt platform plugin "wayland" ...
    // when it has no such file, Could not load the Qt platform plugin "xcb" ... when the plugin found no display.
    std::vector<const char*> read;
    std::string line;
    for (const auto& [kind, message] : heldBack) {
        const qsizetype at = message.indexOf(QLatin1String("platform plugin \""));
        if (at < 0)
            continue;
        const QString plugin = message.mid(at + 17).section(QLatin1Char('"'), 0, 0);
        if (message.startsWith(QLatin1String("Could not find"))) {
            if (!line.empty())
                continue;
            const QByteArray name = plugin.toUtf8();
            if (const char* package = pluginPackage(plugin))
                line = "Rodelume: a plataforma \"" + name.toStdString() + "\" do Qt não está instalada (pacote " +
                       package + ").\n";
            else
                line = "Rodelume: \"" + name.toStdString() + "\" não é uma plataforma do Qt (QT_QPA_PLATFORM).\n";
            continue;
        }
        const char* variable = displayVariable(plugin);
        if (std::find_if(read.begin(), read.end(), [&](const char* v) { return std::strcmp(v, variable) == 0; }) ==
            read.end())
            read.push_back(variable);
    }
    if (line.empty()) {
        if (read.empty())
            read.push_back("DISPLAY");
        line = "Rodelume: nenhum ambiente gráfico encontrado (";
        for (const char* variable : read) {
            const char* value = std::getenv(variable);
            line += std::string(variable == read.front() ? "" : "; ") + variable +
                    (value && *value ? std::string("=") + value + " não responde" : " não está definida");
        }
        line += ").\n";
    }
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

// X11's DestroyNotify: event code 17, the destroyed window's id at bytes 8 to 11.
class DestroyWatch : public QObject, public QAbstractNativeEventFilter {
public:
    explicit DestroyWatch(QWidget& window) : QObject(&window), window_(window)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* bytes = static_cast<const unsigned char*>(message);
        std::uint32_t destroyed = 0;
        std::memcpy(&destroyed, bytes + 8, sizeof destroyed);
        if ((bytes[0] & 0x7F) == 17 && destroyed == window_.internalWinId())
            QCoreApplication::exit(0);
        return false;
    }

private:
    QWidget& window_;
};

} // namespace

void endWithoutDisplay() { previous = qInstallMessageHandler(startupMessage); }

void displayFound()
{
    qInstallMessageHandler(previous);
    for (const auto& [type, text] : heldBack)
        qt_message_output(type, QMessageLogContext(), text);
    heldBack.clear();
}

char userDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x100 ? char(point[0].unicode()) : '.';
}

PortugueseTexts::PortugueseTexts(const QLocale& user)
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Translators installed later are asked first.
    QStringList names = {QStringLiteral("qtbase_pt_BR")};
    if (user.territory() == QLocale::Portugal)
        names << QStringLiteral("qt_pt_PT");
    for (const QString& name : names) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(name, dir) && QCoreApplication::installTranslator(translator.get()))
            catalogues_.push_back(std::move(translator));
    }
}

PortugueseTexts::~PortugueseTexts()
{
    for (const auto& translator : catalogues_)
        QCoreApplication::removeTranslator(translator.get());
}

bool PortugueseTexts::scrollMenu() const
{
    for (const char* text :
         {"Scroll here", "Left edge", "Right edge", "Page left", "Page right", "Scroll left", "Scroll right"})
        if (QCoreApplication::translate("QScrollBar", text) == QLatin1String(text))
            return false;
    return true;
}

void quitWhenDestroyed(QWidget& window) { new DestroyWatch(window); } // owned by the window

} // namespace qtui
