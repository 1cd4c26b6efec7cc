// Prints the program's costs beside a baseline measured in the same run: start-up to the first painted
// frame, the load, one angle change, one toggle, a drag around the circle and peak memory.
#include "app/frmcirculo.h"

#include "runtime/qt/window.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long peakKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

struct Silent {
    rt::RecordedMessages messages;
    rt::RecordedAddresses addresses;
    rt::RecordedFocus focus;
    Services services() { return {messages, addresses, focus}; }
};

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

// Child process: builds the program's window or an empty one, shows it, and reports when it first painted.
int startupChild(const char* which, int argc, char** argv)
{
    QApplication app(argc, argv);
    Silent s;
    std::unique_ptr<frmcirculo> form;
    std::unique_ptr<QWidget> window;
    if (std::strcmp(which, "program") == 0) {
        form = std::make_unique<frmcirculo>(s.services());
        auto* w = new qtui::FormWindow(form->scene);
        window.reset(w);
        form->Form_Load();
    } else {
        window = std::make_unique<QWidget>();
        window->setFixedSize(633, 425);
        if (std::strcmp(which, "label") == 0) // the same, with one line of text: the fonts' own cost
            (new QLabel("Rodelume 2.0", window.get()))->move(8, 8);
    }
    FirstPaint probe;
    window->installEventFilter(&probe);
    window->show();
    while (!probe.painted)
        app.processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("%ld\n", peakKiB());
    std::fflush(stdout);
    return 0;
}

struct Startup {
    double ms;
    long peak;
};

Startup startup(const char* self, const char* which, int runs)
{
    std::vector<double> times;
    long peak = 0;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        const auto t0 = Clock::now();
        child.start(self, {"--startup", which});
        child.waitForReadyRead(10000);
        const auto t1 = Clock::now();
        peak = std::max(peak, std::stol(child.readAll().toStdString()));
        child.waitForFinished();
        times.push_back(micros(t1 - t0) / 1000);
    }
    return {median(times), peak};
}

// An empty panel that repaints itself on every move of the pointer over it.
struct Blank : QFrame {
    using QFrame::QFrame;
    void mouseMoveEvent(QMouseEvent*) override { update(); }
};

// One sweep of 360 moves with the primary button held, each delivered and its repaint done, per move.
double dragAround(QWidget* target, QPointF centre)
{
    const auto t0 = Clock::now();
    for (int a = 1; a <= 360; ++a) {
        const double t = a * 3.14159265358979 / 180;
        const QPointF at = centre + QPointF(100 * std::cos(t), -100 * std::sin(t));
        QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QApplication::processEvents();
    }
    return micros(Clock::now() - t0) / 360;
}

void row(const char* what, double value, const char* unit, double baseline)
{
    if (baseline > 0)
        std::printf("| %-36s | %10.2f %-3s | %10.2f %-3s | %6.2f |\n", what, value, unit, baseline, unit,
                    value / baseline);
    else
        std::printf("| %-36s | %10.2f %-3s | %14s | %6s |\n", what, value, unit, "-", "-");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--startup") == 0)
        return startupChild(argv[2], argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const Startup program = startup(argv[0], "program", 15), empty = startup(argv[0], "empty", 15),
                  label = startup(argv[0], "label", 15);

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
    std::vector<double> handler;
    for (int sweep = 0; sweep < 50; ++sweep) {
        const auto t0 = Clock::now();
        for (int a = 1; a <= 360; ++a)
            form.brangulo.setValue(std::int16_t(a % 360));
        handler.push_back(micros(Clock::now() - t0) / 360);
    }
    std::vector<double> toggles;
    for (int i = 0; i < 200; ++i) {
        const auto t0 = Clock::now();
        form.chseno.setValue(std::int16_t(i % 2));
        toggles.push_back(micros(Clock::now() - t0));
    }

    // The handler and the repaint of the three panels, against repainting three empty panels of the same sizes.
    qtui::FormWindow window(form.scene);
    window.show();
    app.processEvents();
    QWidget* const panels[] = {window.widget("frmsec1"), window.widget("frmsec2"), window.widget("frmsec3")};
    std::vector<double> repaint;
    for (int sweep = 0; sweep < 10; ++sweep) {
        const auto t0 = Clock::now();
        for (int a = 1; a <= 360; ++a) {
            form.brangulo.setValue(std::int16_t(a % 360));
            app.processEvents(); // the panels repaint what the change touched, into the backing store
        }
        repaint.push_back(micros(Clock::now() - t0) / 360);
    }
    QWidget bare;
    bare.setFixedSize(633, 425);
    std::vector<QWidget*> blanks;
    for (QWidget* p : panels) {
        auto* b = new Blank(&bare);
        b->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        b->setLineWidth(2);
        b->setGeometry(p->geometry());
        blanks.push_back(b);
    }
    bare.show();
    app.processEvents();
    std::vector<double> blankRepaint;
    for (int sweep = 0; sweep < 10; ++sweep) {
        const auto t0 = Clock::now();
        for (int a = 0; a < 360; ++a) {
            for (QWidget* b : blanks)
                b->update();
            app.processEvents();
        }
        blankRepaint.push_back(micros(Clock::now() - t0) / 360);
    }

    // A drag once around the circle panel, against the same moves sent to the empty one, which repaints on each.
    QWidget* circle = window.widget("frmsec1");
    const QPointF centre = QPointF(circle->contentsRect().topLeft()) + QPointF(form.raio.x1(), form.raio.y1());
    std::vector<double> drag, blankDrag;
    for (int sweep = 0; sweep < 10; ++sweep) {
        drag.push_back(dragAround(circle, centre));
        blankDrag.push_back(dragAround(blanks[0], centre));
    }

    std::printf("| %-36s | %14s | %14s | %6s |\n", "measure", "Rodelume", "baseline", "ratio");
    std::printf("|%s|%s|%s|%s|\n", std::string(38, '-').c_str(), std::string(16, '-').c_str(),
                std::string(16, '-').c_str(), std::string(8, '-').c_str());
    row("start-up to first painted frame", program.ms, "ms", empty.ms);
    row("peak memory (VmHWM)", program.peak / 1024.0, "MiB", empty.peak / 1024.0);
    row("start-up, against one text label", program.ms, "ms", label.ms);
    row("peak memory, against one text label", program.peak / 1024.0, "MiB", label.peak / 1024.0);
    row("load (1110 graph elements)", median(loads), "us", 0);
    row("memory the loaded scene holds", sceneBytes / 1024.0, "KiB", 0);
    row("angle change, handler", median(handler), "us", 0);
    row("angle change, handler + repaint", median(repaint), "us", median(blankRepaint));
    row("toggle of one graph (370 elements)", median(toggles), "us", 0);
    row("drag around the circle, per event", median(drag), "us", median(blankDrag));
    std::printf("\nBaselines: an empty Qt window of the same size (start-up, memory), and the same window with one\n"
                "text label, which pays for the font system; three empty panels of the same sizes updated and\n"
                "repainted (angle change with repaint); the same moves sent to the empty circle panel, which\n"
                "repaints itself on each (drag).\n"
                "Medians; offscreen platform.\n");
    return 0;
}
