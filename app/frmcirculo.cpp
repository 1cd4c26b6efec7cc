#include "app/frmcirculo.h"

#include "runtime/trap.h"

using namespace scene;

namespace {

// Counts the runs of a handler under way, so that a run can tell whether another one holds it.
class Nesting {
public:
    explicit Nesting(int& depth) : depth_(depth) { ++depth_; }
    ~Nesting() { --depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;
    bool outermost() const { return depth_ == 1; }

private:
    int& depth_;
};

} // namespace

frmcirculo::frmcirculo(Services services, double twipsPerPixel) :
    Form(twipsPerPixel), btemail(scene.get<CommandButton>("btemail")), btpage(scene.get<CommandButton>("btpage")),
    frmsec2(scene.get<PictureBox>("frmsec2")), tangente2(scene.get<Line>("tangente2")),
    eixoxx2(scene.get<Line>("eixoxx2")), chseno(scene.get<CheckBox>("chseno")),
    chcoseno(scene.get<CheckBox>("chcoseno")), chtangente(scene.get<CheckBox>("chtangente")),
    frmsec3(scene.get<PictureBox>("frmsec3")), ftangente(*scene.array("ftangente")), fcoseno(*scene.array("fcoseno")),
    fseno(*scene.array("fseno")), eixoxx3(scene.get<Line>("eixoxx3")), vertical(scene.get<Line>("vertical")),
    brangulo(scene.get<HScrollBar>("brangulo")), frmsec1(scene.get<PictureBox>("frmsec1")),
    raio(scene.get<Line>("raio")), tangente(scene.get<Line>("tangente")), coseno(scene.get<Line>("coseno")),
    seno(scene.get<Line>("seno")), eixoyy(scene.get<Line>("eixoyy")), eixoxx(scene.get<Line>("eixoxx")),
    circulo(scene.get<Shape>("circulo")), lblalfa(scene.get<Label>("lblalfa")), lblseno2(scene.get<Label>("lblseno2")),
    lblcoseno2(scene.get<Label>("lblcoseno2")), lbltg2(scene.get<Label>("lbltg2")), services_(services)
{
    scene.focus = &services_.focus;
    scene.messages = &services_.messages;
    brangulo.Change = [this] {
        // The fold of 360 runs this again for 0 before it returns: the outer run speaks, once, of the final angle.
        const Nesting nesting(changeDepth_);
        brangulo_Change();
        if (!heard())
            return;
        describe();
        if (nesting.outermost())
            scene.say(brangulo, brangulo.description());
    };
    // A key that meets the end of the scroll bar moves nothing: the angle is said again, so the key is not met by
    // silence.
    brangulo.Stopped = [this] {
        if (heard())
            scene.say(brangulo, brangulo.description());
    };
    const auto toggled = [this](CheckBox& box, void (frmcirculo::*handler)()) {
        return [this, &box, handler] {
            (this->*handler)();
            if (!heard())
                return;
            describe();
            scene.say(box, graphSentence(box));
        };
    };
    chseno.Click = toggled(chseno, &frmcirculo::chseno_Click);
    chcoseno.Click = toggled(chcoseno, &frmcirculo::chcoseno_Click);
    chtangente.Click = toggled(chtangente, &frmcirculo::chtangente_Click);
    btemail.Click = [this] { btemail_Click(); };
    btpage.Click = [this] { btpage_Click(); };
    frmsec1.MouseDown = [this](int b, double x, double y) { frmsec1_MouseDown(b, x, y); };
    frmsec1.MouseMove = [this](int b, double x, double y) { frmsec1_MouseMove(b, x, y); };
    frmsec1.KeyDown = [this](HScrollBar::Step step) { frmsec1_KeyDown(step); };
    frmsec3.MouseDown = [this](int b, double x, double y) { frmsec3_MouseDown(b, x, y); };
    frmsec3.MouseMove = [this](int b, double x, double y) { frmsec3_MouseMove(b, x, y); };
    frmsec3.KeyDown = [this](HScrollBar::Step step) { frmsec3_KeyDown(step); };
    scene.redescribe = [this] {
        if (!described_)
            describe();
    };
    describe();
}

bool frmcirculo::heard()
{
    described_ = described_ && scene.listening;
    return scene.listening;
}

double frmcirculo::radianos(const double& graus) const
{
    // 3.14159265358979 as written, 7 units in the last place below the double nearest π: the captions'
    // 15th digit depends on it.
    constexpr double pi = 3.14159265358979;
    return graus / 180 * pi;
}

int frmcirculo::loadStatement() const { return loading_ ? loading_->current() : 0; }
