// Prints the program's costs beside a baseline measured in the same run: start-up to the first painted
// frame, the load, one angle change, one toggle, a drag around the circle and peak memory.
#include "app/frmcirculo.h"
#include "bench/measure.h"

#include "runtime/qt/look.h"
#include "runtime/qt/program.h"
#include "runtime/qt/widgets.h"
#include "runtime/qt/window.h"
#include "scene/layout.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define RODELUME_CALLGRIND
#endif

namespace {

using namespace measure;

long peakKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// Notes when a widget has painted once.
struct FirstPaint : QObject {
    bool painted = false;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(o, e);
    }
};

// The process's processor time so far, user and system, in milliseconds.
double cpuMs()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(use.ru_utime) + ms(use.ru_stime);
}

// One widget that paints the window's texts in their fonts at their places: what any window showing this text
// pays for, whatever its widgets.
struct Texts : QWidget {
    scene::Form form{15};
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        for (const auto& e : form.scene.elements()) {
            const auto* box = dynamic_cast<const scene::Boxed*>(e.get());
            if (!box)
                continue;
            const QRectF at(box->left(), box->top(), box->width(), box->height());
            if (const auto* l = dynamic_cast<const scene::Label*>(box)) {
                p.setFont(qtui::qtFont(l->font));
                p.drawText(at, qtui::displayText(l->text(), l->font.symbol()));
            } else if (const auto* c = dynamic_cast<const scene::CheckBox*>(box)) {
                p.setFont(qtui::qtFont(c->font));
                p.drawText(at, qtui::displayText(c->caption, false));
            } else if (const auto* b = dynamic_cast<const scene::CommandButton*>(box)) {
                p.setFont(QApplication::font());
                p.drawText(at, qtui::displayText(b->caption, false));
            }
        }
    }
};

// Child process: starts the program, an empty window or the texts' window, and prints when it first painted
// and once it has settled: processor time, and peak memory.
int startupChild(const char* which, int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(rt::applicationTitle);
    std::unique_ptr<qtui::Program> program;
    std::unique_ptr<QWidget> bare;
    QWidget* window = nullptr;
    if (std::strcmp(which, "program") == 0) {
        program = std::make_unique<qtui::Program>();
        window = &program->window();
    } else {
        bare.reset(std::strcmp(which, "texts") == 0 ? new Texts : new QWidget);
        bare->setFixedSize(633, 425);
        bare->setWindowTitle("Rodelume 2.0");
        window = bare.get();
    }
    FirstPaint probe;
    window->installEventFilter(&probe);
    if (program)
        program->show();
    else
        window->show();
    while (!probe.painted)
        app.processEvents(QEventLoop::WaitForMoreEvents);
    const double first = cpuMs();
    QTimer::singleShot(500, &app, &QCoreApplication::quit);
    app.exec();
    std::printf("%f %f %ld\n", first, cpuMs(), peakKiB());
    std::fflush(stdout);
    return 0;
}

struct Startup {
    double ms, cpuFirst, cpuSettled, peakMiB;
};

// Medians over the runs: wall time to the first frame seen from outside, processor time, peak memory.
Startup startup(const char* self, const char* which, int runs)
{
    std::vector<double> wall, first, settled, peak;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.start(self, {"--startup", which});
        const auto t0 = Clock::now();
        child.waitForReadyRead(10000);
        // The child prints once it has settled; the first frame's time is its own.
        double a = 0, b = 0;
        long kib = 0;
        child.waitForFinished();
        if (std::sscanf(child.readAll().constData(), "%lf %lf %ld", &a, &b, &kib) != 3)
            continue;
        wall.push_back(micros(Clock::now() - t0) / 1000 - 500);
        first.push_back(a), settled.push_back(b), peak.push_back(kib / 1024.0);
    }
    return {median(wall), median(first), median(settled), median(peak)};
}

// The regions each panel was painted in.
struct Repaints : QObject {
    std::map<QObject*, QRegion> painted;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted[o] += static_cast<QPaintEvent*>(e)->region();
        return QObject::eventFilter(o, e);
    }
};

// The work measured, built alike for the timed run and for the counted one: the program's window, its floor, and a
// stock scroll bar that repaints whole.
struct Work {
    Silent silent;
    frmcirculo form{silent.services()};
    std::unique_ptr<qtui::FormWindow> window;
    // The floor: the same window's captions, a stock scroll bar that repaints only its thumb's places, and the
    // panels empty, repainting the places the window's panels repaint.
    QWidget floor;
    QScrollBar* floorBar = nullptr;
    std::vector<QLabel*> captions;
    std::vector<QFrame*> panels;
    std::vector<std::vector<QString>> texts;   // by angle, each caption's text
    std::vector<std::vector<QRegion>> regions; // by angle, each panel's repaint
    QWidget stockWindow;
    QScrollBar* stock = nullptr;
    QWidget* circle = nullptr;
    QPointF centre;

    Work()
    {
        form.Form_Load();
        window = std::make_unique<qtui::FormWindow>(form.scene);
        floor.setFixedSize(window->size());
        stockWindow.setFixedSize(window->size());
        floor.setPalette(window->palette());
        stockWindow.setPalette(window->palette());
        std::vector<const qtui::LabelWidget*> labels;
        for (const auto& e : form.scene.elements())
            if (e->kind() == scene::Kind::Label)
                labels.push_back(static_cast<const qtui::LabelWidget*>(window->widget(e->name())));
        for (const qtui::LabelWidget* l : labels) {
            auto* copy = new QLabel(l->text(), &floor);
            copy->setGeometry(l->geometry());
            copy->setFont(l->font());
            copy->setPalette(l->palette());
            copy->setAlignment(l->alignment());
            copy->setAutoFillBackground(l->autoFillBackground());
            captions.push_back(copy);
        }
        for (const char* name : {"frmsec1", "frmsec2", "frmsec3"}) {
            auto* panel = new QFrame(&floor);
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            panel->setLineWidth(2);
            panel->setGeometry(window->widget(name)->geometry());
            panel->setPalette(window->widget(name)->palette());
            panel->setAutoFillBackground(true);
            panels.push_back(panel);
        }
        const auto* bar = static_cast<const QScrollBar*>(window->widget("brangulo"));
        floorBar = new qtui::ThumbScrollBar(Qt::Horizontal, &floor);
        stock = new QScrollBar(Qt::Horizontal, &stockWindow);
        for (QScrollBar* b : {floorBar, stock}) {
            b->setRange(bar->minimum(), bar->maximum());
            b->setPageStep(bar->pageStep());
            b->setGeometry(bar->geometry());
        }
        for (QWidget* w : {static_cast<QWidget*>(window.get()), &floor, &stockWindow})
            w->show();
        circle = window->widget("frmsec1");
        centre = QPointF(circle->contentsRect().topLeft()) + QPointF(form.raio.x1(), form.raio.y1());
        QApplication::processEvents();
        // What each change shows: the captions' texts and the places in the panels it repaints.
        Repaints seen;
        for (const char* name : {"frmsec1", "frmsec2", "frmsec3"})
            window->widget(name)->installEventFilter(&seen);
        texts.resize(360);
        regions.resize(360);
        for (int a = 1; a <= 360; ++a) {
            form.brangulo.setValue(std::int16_t(a % 360));
            QApplication::processEvents();
            for (const qtui::LabelWidget* l : labels)
                texts[std::size_t(a % 360)].push_back(l->text());
            for (const char* name : {"frmsec1", "frmsec2", "frmsec3"})
                regions[std::size_t(a % 360)].push_back(seen.painted[window->widget(name)]);
            seen.painted.clear();
        }
        for (const char* name : {"frmsec1", "frmsec2", "frmsec3"})
            window->widget(name)->removeEventFilter(&seen);
    }

    // Each moves through all 360 angles once, every step painted.
    void change()
    {
        for (int a = 1; a <= 360; ++a) {
            form.brangulo.setValue(std::int16_t(a % 360));
            QApplication::processEvents();
        }
    }
    // The pointer held down once around the circle, a degree a move.
    void drag()
    {
        for (int a = 1; a <= 360; ++a) {
            const double t = a * 3.14159265358979 / 180;
            const QPointF at = centre + QPointF(100 * std::cos(t), -100 * std::sin(t));
            QMouseEvent move(QEvent::MouseMove, at, circle->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(circle, &move);
            QApplication::processEvents();
        }
    }
    void floorChange()
    {
        for (int a = 1; a <= 360; ++a) {
            const std::vector<QString>& now = texts[std::size_t(a % 360)];
            for (std::size_t i = 0; i < captions.size(); ++i)
                captions[i]->setText(now[i]);
            floorBar->setValue(a % 360);
            for (std::size_t i = 0; i < panels.size(); ++i)
                panels[i]->update(regions[std::size_t(a % 360)][i]);
            QApplication::processEvents();
        }
    }
    void stockChange()
    {
        for (int a = 1; a <= 360; ++a) {
            stock->setValue(a % 360);
            QApplication::processEvents();
        }
    }
};

using Phase = void (Work::*)();
struct Named {
    const char* name;
    Phase phase;
};
constexpr Named phases[] = {
    {"change", &Work::change}, {"drag", &Work::drag}, {"floor", &Work::floorChange}, {"stock", &Work::stockChange}};

// Child process, under callgrind: each phase once to warm the caches, then each counted alone, its costs
// written out under its name.
int countChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    Work work;
    for (const Named& p : phases)
        (work.*p.phase)();
#ifdef RODELUME_CALLGRIND
    CALLGRIND_START_INSTRUMENTATION;
    for (const Named& p : phases) {
        CALLGRIND_ZERO_STATS;
        (work.*p.phase)();
        CALLGRIND_DUMP_STATS_AT(p.name);
    }
#endif
    return 0;
}

// Child process, under strace: the changes alone, so many times; the system calls of the set-up are counted
// apart, with none.
int futexChild(int times, int argc, char** argv)
{
    QApplication app(argc, argv);
    Work work;
    work.change();
    for (int i = 0; i < times; ++i)
        work.change();
    return 0;
}

QString tool(const char* name) { return QStandardPaths::findExecutable(name); }

// Instructions per step of each phase, all threads' together, from callgrind's dumps; empty without valgrind.
std::map<std::string, double> instructions(const char* self)
{
    std::map<std::string, double> per;
    const QString valgrind = tool("valgrind");
    QTemporaryDir dir;
    if (valgrind.isEmpty() || !dir.isValid())
        return per;
    QProcess child;
    child.start(valgrind, {"--tool=callgrind", "--instr-atstart=no", "--callgrind-out-file=" + dir.filePath("out"),
                           self, "--count"});
    child.waitForFinished(-1);
    for (const QString& name : QDir(dir.path()).entryList({"out*"}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        std::string phase;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (line.startsWith("desc: Trigger: Client Request: "))
                phase = line.mid(31).toStdString();
            else if ((line.startsWith("summary: ") || line.startsWith("totals: ")) && !phase.empty())
                per[phase] = line.mid(line.indexOf(' ') + 1).split(' ').front().toDouble() / 360;
        }
    }
    return per;
}

// The futex calls of `times` sweeps of 360 changes, all threads', beyond those of the set-up; -1 without strace.
double futexes(const char* self, int times)
{
    const QString strace = tool("strace");
    QTemporaryDir dir;
    if (strace.isEmpty() || !dir.isValid())
        return -1;
    const auto count = [&](int n) {
        const QString out = dir.filePath(QString::number(n));
        QProcess child;
        child.start(strace, {"-f", "-c", "-e", "trace=futex", "-o", out, self, "--futex", QString::number(n)});
        child.waitForFinished(-1);
        QFile file(out);
        if (!file.open(QIODevice::ReadOnly))
            return -1.0;
        while (!file.atEnd()) {
            const QList<QByteArray> cells = file.readLine().simplified().split(' ');
            if (cells.size() >= 5 && cells.back() == "futex")
                return cells[3].toDouble();
        }
        return 0.0;
    };
    return (count(times) - count(0)) / (times * 360.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--startup") == 0)
        return startupChild(argv[2], argc, argv);
    if (argc == 2 && std::strcmp(argv[1], "--count") == 0)
        return countChild(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--futex") == 0)
        return futexChild(std::atoi(argv[2]), argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // --changes: the rows of the angle's changes alone.
    const bool all = !(argc == 2 && std::strcmp(argv[1], "--changes") == 0);
    const int runs = all ? 15 : 0;
    const Startup program = startup(argv[0], "program", runs), empty = startup(argv[0], "empty", runs),
                  texts = startup(argv[0], "texts", runs);

    QApplication app(argc, argv);
    Silent s;

    // The load alone: 1110 graph elements created and placed.
    std::vector<double> loads;
    std::size_t sceneBytes = 0;
    for (int i = 0; i < 200; ++i) {
        const std::size_t before = mallinfo2().uordblks;
        const auto t0 = Clock::now();
        frmcirculo form(s.services());
        form.Form_Load();
        loads.push_back(micros(Clock::now() - t0));
        sceneBytes = mallinfo2().uordblks - before;
    }

    frmcirculo form(s.services());
    form.Form_Load();
    // One angle change, the handler alone, over sweeps of all 360 angles.
    const double handler = measure::angleChanges(form, 50);
    std::vector<double> toggles;
    for (int i = 0; i < 200; ++i) {
        const auto t0 = Clock::now();
        form.chseno.setValue(std::int16_t(i % 2));
        toggles.push_back(micros(Clock::now() - t0));
    }

    // The window's costs and their floor's, in the same run: sweeps of each phase in turn, so that they share the
    // machine's load.
    Work work;
    std::map<std::string, std::vector<double>> times;
    for (int sweep = 0; sweep < 10; ++sweep)
        for (const Named& p : phases) {
            const auto t0 = Clock::now();
            (work.*p.phase)();
            times[p.name].push_back(micros(Clock::now() - t0) / 360);
        }
    const auto wall = [&](const char* p) { return median(times[p]); };
    const std::map<std::string, double> counted = instructions(argv[0]);
    const auto mega = [&](const char* p) {
        const auto at = counted.find(p);
        return at == counted.end() ? 0.0 : at->second / 1e6;
    };
    const double futex = futexes(argv[0], 3);

    std::printf("| %-36s | %14s | %14s | %6s |\n", "measure", "Rodelume", "baseline", "ratio");
    std::printf("|%s|%s|%s|%s|\n", std::string(38, '-').c_str(), std::string(16, '-').c_str(),
                std::string(16, '-').c_str(), std::string(8, '-').c_str());
    if (all) {
        row("start-up CPU to first frame", program.cpuFirst, "ms", texts.cpuFirst);
        row("start-up CPU, settled", program.cpuSettled, "ms", texts.cpuSettled);
        row("peak memory (VmHWM)", program.peakMiB, "MiB", texts.peakMiB);
        row("start-up CPU to first frame, vs empty", program.cpuFirst, "ms", empty.cpuFirst);
        row("peak memory, vs empty window", program.peakMiB, "MiB", empty.peakMiB);
    }
    row("load (1110 graph elements)", median(loads), "us", 0);
    row("memory the loaded scene holds", sceneBytes / 1024.0, "KiB", 0);
    row("angle change, handler", handler, "us", 0);
    row("angle change, handler + repaint", wall("change"), "us", wall("floor"));
    row("angle change, instructions", mega("change"), "M", mega("floor"));
    row("drag around the circle, per event", wall("drag"), "us", wall("floor"));
    row("drag, instructions per event", mega("drag"), "M", mega("floor"));
    row("stock scroll bar, whole repaint", mega("stock"), "M", 0);
    row("futex calls per angle change", futex, "", 0);
    row("toggle of one graph (370 elements)", median(toggles), "us", 0);
    std::printf("\nBaselines: a window of the same size that paints the same texts in the same fonts with one widget\n"
                "(start-up processor time, user and system, to the first frame and 500 ms later; peak memory), and\n"
                "an empty window. The floor of a change and of a drag's event: the same window's captions as stock\n"
                "labels set to the same texts, a stock scroll bar moved the same way that repaints only its thumb's\n"
                "places, and the panels empty, repainting the places the program's panels repaint. Instructions:\n"
                "callgrind, all threads (the stock scroll bar's whole repaint for reference); futex calls: strace,\n"
                "beyond the set-up's. Medians; offscreen platform.\n");
    return 0;
}
