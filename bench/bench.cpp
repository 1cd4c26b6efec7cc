// Prints the program's costs beside a baseline measured in the same run: start-up to the first painted
// frame, the load, one angle change, one toggle, a drag around the circle and peak memory.
#include "app/frmcirculo.h"
#include "bench/measure.h"

#include "runtime/qt/look.h"
#include "runtime/qt/program.h"
#include "runtime/qt/window.h"
#include "scene/layout.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

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

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--startup") == 0)
        return startupChild(argv[2], argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const Startup program = startup(argv[0], "program", 15), empty = startup(argv[0], "empty", 15),
                  texts = startup(argv[0], "texts", 15);

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
    row("start-up CPU to first frame", program.cpuFirst, "ms", texts.cpuFirst);
    row("start-up CPU, settled", program.cpuSettled, "ms", texts.cpuSettled);
    row("peak memory (VmHWM)", program.peakMiB, "MiB", texts.peakMiB);
    row("start-up CPU to first frame, vs empty", program.cpuFirst, "ms", empty.cpuFirst);
    row("peak memory, vs empty window", program.peakMiB, "MiB", empty.peakMiB);
    row("load (1110 graph elements)", median(loads), "us", 0);
    row("memory the loaded scene holds", sceneBytes / 1024.0, "KiB", 0);
    row("angle change, handler", handler, "us", 0);
    row("angle change, handler + repaint", median(repaint), "us", median(blankRepaint));
    row("toggle of one graph (370 elements)", median(toggles), "us", 0);
    row("drag around the circle, per event", median(drag), "us", median(blankDrag));
    std::printf("\nBaselines: a window of the same size that paints the same texts in the same fonts with one widget\n"
                "(start-up processor time, user and system, to the first frame and 500 ms later; peak memory), and\n"
                "an empty window; three empty panels of the same sizes updated and\n"
                "repainted (angle change with repaint); the same moves sent to the empty circle panel, which\n"
                "repaints itself on each (drag).\n"
                "Medians; offscreen platform.\n");
    return 0;
}
