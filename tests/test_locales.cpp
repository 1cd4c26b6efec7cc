// The captions in the users' locales: the window is started in a child process under each locale, as the program
// starts (the application object hands the locale to the C library), and the real widgets are read after each
// of 360 Right keys, on the screen and through assistive technology.
#include "harness.h"

#include "runtime/qt/startup.h"

#include <QProcess>
#include <QRegularExpression>
#include <clocale>
#include <cstdio>

namespace {

const char* const captions[] = {"lblalfa", "lblseno2", "lblcoseno2", "lbltg2"};

// The child: the C library's numeric locale, then per angle each caption as shown and as read to assistive technology.
int child(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::printf("%s\n", std::setlocale(LC_NUMERIC, nullptr));
    Harness h(qtui::userDecimalSeparator());
    for (int angle = 1; angle <= 360; ++angle) {
        QTest::keyClick(h.bar(), Qt::Key_Right);
        for (const char* name : captions) {
            const QString shown = static_cast<qtui::LabelWidget*>(h.w(name))->text();
            const QString spoken = QAccessible::queryAccessibleInterface(h.w(name))->text(QAccessible::Name);
            std::printf("%s\t%s\n", shown.toUtf8().constData(), spoken.toUtf8().constData());
        }
    }
    return h.messages.shown.empty() ? 0 : 3;
}

struct Run {
    QString clocale;
    QStringList lines;
};

Run run(const QStringList& settings)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_NUMERIC", "LC_MESSAGES"})
        env.remove(name);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const QString& setting : settings)
        env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {"--child"});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return {lines.value(0), lines.mid(1)};
}

} // namespace

class TestLocales : public QObject {
    Q_OBJECT
    Run reference;

private slots:
    void initTestCase()
    {
        reference = run({"LC_ALL=C"});
        QCOMPARE(reference.clocale, QString("C"));
        QCOMPARE(reference.lines.size(), 360 * 4);
        QCOMPARE(reference.lines[44 * 4 + 1], QString::fromUtf8("α ≈ 0.707106781186547\tα ≈ 0.707106781186547"));
        // Every caption well formed, shown and read alike; the locales' runs differ only in the separator.
        static const QRegularExpression wellFormed(
            QString::fromUtf8("^α (= (−?(0|1|0\\.5)|∞|\\d+°)|≈ −?\\d+\\.\\d+)$"));
        for (const QString& line : reference.lines)
            QVERIFY2(wellFormed.match(line.section('\t', 0, 0)).hasMatch() &&
                         line.section('\t', 1) == line.section('\t', 0, 0),
                     qPrintable(line));
    }

    void captions_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("generated"); // whether the C library must have the locale
        const auto row = [](const char* name, QStringList settings, const char* separator, bool generated) {
            QTest::newRow(name) << settings << QString::fromUtf8(separator) << generated;
        };
        row("pt_PT.UTF-8", {"LANG=pt_PT.UTF-8"}, ",", true);
        row("pt_BR.UTF-8", {"LANG=pt_BR.UTF-8"}, ",", true);
        row("pt_PT.UTF-8 in LC_NUMERIC alone", {"LANG=C.UTF-8", "LC_NUMERIC=pt_PT.UTF-8"}, ",", true);
        row("pt_BR.UTF-8 in LC_ALL over English", {"LANG=en_US.UTF-8", "LC_ALL=pt_BR.UTF-8"}, ",", true);
        row("de_DE.UTF-8: comma", {"LANG=de_DE.UTF-8"}, ",", true);
        row("ar_EG.UTF-8: separator beyond Latin-1", {"LANG=ar_EG.UTF-8"}, ".", true);
        row("fa_IR: separator beyond Latin-1", {"LANG=fa_IR"}, ".", true);
        row("C", {"LANG=C"}, ".", true);
        row("POSIX", {"LC_ALL=POSIX"}, ".", true);
        row("a locale that does not exist", {"LANG=xx_YY.UTF-8"}, ".", false);
    }
    void captions()
    {
        QFETCH(QStringList, settings);
        QFETCH(QString, separator);
        QFETCH(bool, generated);
        const Run got = run(settings);
        const QString asked = settings.last().section('=', 1);
        const bool has = got.clocale == asked || (asked == "POSIX" && got.clocale == "C"); // one locale, two names
        QVERIFY2(has || !generated,
                 qPrintable(QString("the C library does not have the locale %1 (it runs in \"%2\"); "
                                    "add it to /etc/locale.gen and run locale-gen, as ./test.sh does")
                                .arg(asked, got.clocale)));
        // Approximate captions in the locale's separator, exact ones with their point.
        QStringList expected = reference.lines;
        for (QString& line : expected)
            if (line.contains(QString::fromUtf8("≈")))
                line.replace('.', separator);
        QCOMPARE(got.lines, expected);
    }
};

int main(int argc, char** argv)
{
    if (argc == 2 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv);
    QCoreApplication app(argc, argv);
    TestLocales test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_locales.moc"
