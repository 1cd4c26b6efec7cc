// The installed program, started from its desktop entry as a desktop would: without a display, on a real X
// server of several sizes and scales, turned by keys, on a headless Wayland compositor, and with its window
// destroyed by another program.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Where the program is installed: the build's staged installation, or RODELUME_PREFIX (/usr for the package).
QString prefix() { return qEnvironmentVariable("RODELUME_PREFIX", RODELUME_STAGE); }

// The command of the installed desktop entry, resolved in the installation's bin folder.
QString installedProgram()
{
    QFile entry(prefix() + "/share/applications/rodelume.desktop");
    if (!entry.open(QIODevice::ReadOnly))
        return {};
    const QString exec = QString::fromUtf8(entry.readAll()).section("\nExec=", 1).section('\n', 0, 0);
    return QStandardPaths::findExecutable(exec.section(' ', 0, 0), {prefix() + "/bin"});
}

// A desktop session's environment without a display, then the settings (NAME=value) given.
QProcessEnvironment environment(const QStringList& settings)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE", "QT_SCALE_FACTOR",
                             "QT_PLUGIN_PATH", "QT_QPA_PLATFORM_PLUGIN_PATH"})
        env.remove(name);
    // A desktop session's private runtime folder, which the Wayland library and the toolkit expect.
    static const QTemporaryDir runtime;
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    for (const QString& s : settings)
        env.insert(s.section('=', 0, 0), s.section('=', 1));
    return env;
}

// An X server of its own for one test, on the first free display number, and the program started on it.
struct XServer {
    explicit XServer(const QString& screen)
    {
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"});
        QByteArray number;
        while (!number.endsWith('\n') && server.waitForReadyRead(10000))
            number += server.readAll();
        if (!number.endsWith('\n'))
            return;
        display = ":" + QString::fromLatin1(number).trimmed();
        // Under load a server can take its time to answer, or be gone: the display is kept only once it answers.
        for (int tries = 0; tries < 50; ++tries, QTest::qWait(100))
            if (!run("xdpyinfo", {}).isEmpty())
                return;
        display.clear();
    }
    ~XServer()
    {
        program.kill();
        program.waitForFinished(5000);
        server.terminate();
        server.waitForFinished(5000);
    }
    // The program started with the settings given; whether its window was mapped.
    bool start(const QStringList& settings = {})
    {
        program.setProcessEnvironment(environment(settings + QStringList{"DISPLAY=" + display}));
        program.start(installedProgram(), {});
        window =
            run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Rodelume 2\\.0$"}).section('\n', 0, 0);
        return !window.isEmpty();
    }
    // Runs an X tool on this server; its output, or empty after 10 seconds.
    QByteArray output(const QString& tool, const QStringList& args) const
    {
        QProcess p;
        p.setProcessEnvironment(environment({"DISPLAY=" + display}));
        p.start(tool, args);
        if (!p.waitForFinished(10000))
            p.kill();
        return p.readAllStandardOutput();
    }
    QString run(const QString& tool, const QStringList& args) const
    {
        return QString::fromUtf8(output(tool, args)).trimmed();
    }
    QProcess server, program;
    QString display, window;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(!installedProgram().isEmpty(), "the staged installation has no program"); }

    // What is missing, said in one line: the display, the toolkit's plugin for it, or a platform of that name.
    void noDisplay_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<bool>("plugins");
        QTest::addColumn<QString>("line");
        const auto row = [](const char* name, QStringList settings, bool plugins, const char* line) {
            QTest::newRow(name) << settings << plugins << QString::fromUtf8(line);
        };
        row("DISPLAY unset", {}, true, "nenhum ambiente gráfico encontrado (DISPLAY não está definida).");
        // No server answers on display 1999: Xvfb would have to be started there.
        row("DISPLAY where no server answers", {"DISPLAY=:1999"}, true,
            "nenhum ambiente gráfico encontrado (DISPLAY=:1999 não responde).");
        row("Wayland session whose socket is not there", {"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=rodelume-none"},
            true,
            "nenhum ambiente gráfico encontrado (WAYLAND_DISPLAY=rodelume-none não responde; DISPLAY não está "
            "definida).");
        row("Wayland asked for, no compositor", {"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=rodelume-none"}, true,
            "nenhum ambiente gráfico encontrado (WAYLAND_DISPLAY=rodelume-none não responde).");
        row("Wayland asked for, its plugin not installed", {"QT_QPA_PLATFORM=wayland", "WAYLAND_DISPLAY=rodelume-none"},
            false, "a plataforma \"wayland\" do Qt não está instalada (pacote qt6-wayland).");
        row("a platform name that does not exist", {"QT_QPA_PLATFORM=rodelume-none", "DISPLAY=:1999"}, true,
            "\"rodelume-none\" não é uma plataforma do Qt (QT_QPA_PLATFORM).");
    }
    void noDisplay()
    {
        QFETCH(QStringList, settings);
        QFETCH(bool, plugins);
        QFETCH(QString, line);
        // Without its plugins: a copy of the program whose qt.conf sends Qt to an empty plugin folder.
        QTemporaryDir bare;
        QString program = installedProgram();
        if (!plugins) {
            QVERIFY(QFile::copy(program, bare.filePath("rodelume")));
            QFile conf(bare.filePath("qt.conf"));
            QVERIFY(conf.open(QIODevice::WriteOnly) && conf.write("[Paths]\nPlugins = none\n") > 0);
            conf.close();
            program = bare.filePath("rodelume");
        }
        QProcess p;
        p.setProcessEnvironment(environment(settings));
        p.start(program, {});
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 1);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()), "Rodelume: " + line + "\n");
    }

    // Without a window manager the frame is the window itself, so its place is what the program asked for.
    void placedOnTheScreen_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("position");
        const auto row = [](const char* name, const char* screen, const char* scale, const char* position) {
            QTest::newRow(name) << QString(screen) << QString(scale) << QString(position);
        };
        row("fits: centred", "1024x768x24", "1", "195,171");
        row("560 x 360: top-left corner on the screen", "560x360x24", "1", "0,0");
        row("scale 2 on 1024 x 768: top-left corner on the screen", "1024x768x24", "2", "0,0");
        row("scale 2, fits: centred", "1600x1200x24", "2", "166,174");
    }
    void placedOnTheScreen()
    {
        QFETCH(QString, screen);
        QFETCH(QString, scale);
        QFETCH(QString, position);
        XServer x(screen);
        QVERIFY2(!x.display.isEmpty(), "Xvfb did not start");
        QVERIFY2(x.start({"QT_SCALE_FACTOR=" + scale}), "the window did not appear");
        const QString geometry = x.run("xdotool", {"getwindowgeometry", x.window});
        QCOMPARE(QRegularExpression("Position: (-?\\d+,-?\\d+)").match(geometry).captured(1), position);
    }

    // With a window manager the frame's size is known only once the window is mapped; the frame is centred all the
    // same, and on a small screen its top-left corner, title bar included, stays on the screen.
    void placedUnderAWindowManager_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("fits: the frame centred") << QSize(1024, 768);
        QTest::newRow("560 x 360: the frame's corner on the screen") << QSize(560, 360);
    }
    void placedUnderAWindowManager()
    {
        QFETCH(QSize, screen);
        XServer x(QString("%1x%2x24").arg(screen.width()).arg(screen.height()));
        QVERIFY2(!x.display.isEmpty(), "Xvfb did not start");
        QProcess manager;
        manager.setProcessEnvironment(environment({"DISPLAY=" + x.display}));
        manager.setProcessChannelMode(QProcess::MergedChannels);
        QByteArray said;
        const auto managed = [&] { // a manager that gave up at once is started again
            if (manager.state() == QProcess::NotRunning) {
                said += manager.readAll();
                manager.start("openbox", {});
            }
            return x.run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
        };
        QTRY_VERIFY2_WITH_TIMEOUT(managed(), qPrintable("openbox did not start: " + said + manager.readAll()), 20000);
        QVERIFY2(x.start(), "the window did not appear");
        // The frame's extents (left, right, top, bottom), then the program's second placement, come some time after
        // the window is mapped.
        QStringList e;
        QTRY_COMPARE_WITH_TIMEOUT(
            (e = x.run("xprop", {"-id", x.window, "_NET_FRAME_EXTENTS"}).section('=', 1).split(',')).size(), 4, 10000);
        const int left = e[0].toInt(), right = e[1].toInt(), top = e[2].toInt(), bottom = e[3].toInt();
        QVERIFY2(top > 0, "no title bar");
        const QPoint expected(std::max(0, (screen.width() - 633 - left - right) / 2),
                              std::max(0, (screen.height() - 425 - top - bottom) / 2));
        // xdotool's position counts the frame twice under a reparenting window manager; xwininfo's does not.
        static const QRegularExpression corner("Absolute upper-left X: +(-?\\d+)\\s+Absolute upper-left Y: +(-?\\d+)");
        const auto frame = [&] {
            const QStringList at = corner.match(x.run("xwininfo", {"-id", x.window})).capturedTexts();
            return at.size() == 3 ? QPoint(at[1].toInt() - left, at[2].toInt() - top) : QPoint(-9999, -9999);
        };
        QTRY_COMPARE_WITH_TIMEOUT(frame(), expected, 5000);
        manager.terminate();
        manager.waitForFinished(5000);
    }

    // Found by its title, at its client size, and turned by the keyboard: after 45 Right keys the graph's white
    // marker stands at 45°, in window pixels at 258 + the angle on row 225. Then another program destroys its
    // window, and it ends.
    void turnedByKeys()
    {
        XServer x("800x600x24");
        QVERIFY2(!x.display.isEmpty(), "Xvfb did not start");
        QVERIFY2(x.start(), "the window did not appear");
        QVERIFY(x.run("xdotool", {"getwindowgeometry", x.window}).contains("Geometry: 633x425"));
        x.run("xdotool", {"windowfocus", "--sync", x.window});
        x.run("xdotool", {"key", "--delay", "1", "--repeat", "45", "Right"});
        const auto markerAt45 = [&] {
            const QImage shot = QImage::fromData(x.output("import", {"-window", x.window, "png:-"}));
            return shot.size() == QSize(633, 425) && shot.pixelColor(303, 225) == Qt::white &&
                   shot.pixelColor(258, 225) != Qt::white && shot.pixelColor(302, 225) != Qt::white;
        };
        QTRY_VERIFY_WITH_TIMEOUT(markerAt45(), 5000);
        x.run("xdotool", {"windowclose", x.window});
        QVERIFY2(x.program.waitForFinished(5000), "the program runs on without its window");
        QCOMPARE(x.program.exitStatus(), QProcess::NormalExit);
    }

    // Natively on a headless Wayland compositor, asked for or found through WAYLAND_DISPLAY alone. What the program
    // asked of the compositor, in the compositor's own protocol log: a toplevel with the title, held at the client
    // size, and a buffer of its whole window, decorations included, drawn for it.
    void onWayland_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::newRow("QT_QPA_PLATFORM=wayland") << QStringList{"QT_QPA_PLATFORM=wayland"};
        QTest::newRow("WAYLAND_DISPLAY alone") << QStringList{};
    }
    void onWayland()
    {
        QFETCH(QStringList, settings);
        const QTemporaryDir logs;
        const QString log = logs.filePath("weston.log");
        QProcess weston;
        weston.setProcessEnvironment(environment({}));
        weston.start("weston", {"--backend=headless-backend.so", "--socket=rodelume-test", "--idle-time=0",
                                "--logger-scopes=proto", "--log=" + log});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(weston.processEnvironment().value("XDG_RUNTIME_DIR") + "/rodelume-test"),
                                 10000);
        QProcess program;
        program.setProcessEnvironment(environment(settings << "WAYLAND_DISPLAY=rodelume-test"));
        program.start(installedProgram(), {});
        static const QRegularExpression toplevel(
            R"(get_toplevel\(new id (xdg_toplevel@\d+)\)[\s\S]*?\1\.set_min_size\(633, 425\)[\s\S]*?\1\.set_max_size\(633, )"
            R"(425\)[\s\S]*?\1\.set_title\("Rodelume 2\.0"\)[\s\S]*?set_window_geometry\(0, 0, (\d+), (\d+)\)[\s\S]*?)"
            R"(create_buffer\(new id wl_buffer@\d+, 0, \2, \3, )");
        const auto shown = [&] {
            QFile f(log);
            return f.open(QIODevice::ReadOnly) && toplevel.match(QString::fromUtf8(f.readAll())).hasMatch();
        };
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 10000);
        program.kill();
        program.waitForFinished(5000);
        weston.terminate();
        weston.waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
