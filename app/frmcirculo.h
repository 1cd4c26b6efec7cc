// The window frmcirculo: its elements by name, its event handlers and the degrees-to-radians conversion.
#pragma once
#include "runtime/services.h"
#include "scene/layout.h"

namespace rt {
class Trap;
}

// What the window needs from outside; tests pass recorders.
struct Services {
    rt::MessageBox& messages;
    rt::OpenAddress& addresses;
    rt::Focus& focus;
    char decimalSeparator = '.'; // the user's locale
};

class frmcirculo : private scene::Form {
public:
    explicit frmcirculo(Services services, double twipsPerPixel = 15);

    using scene::Form::scene;

    // The radius length in the circle panel's pixels, measured at load; 0 until then.
    double r = 0;

    // The load sequence: places the circle and tangent panels, builds the graphs, measures r.
    void Form_Load();
    // The window's first activation: the keyboard focus goes to the scroll bar.
    void Form_Activate();
    // The angle changed: caption, marker, value captions and the circle's geometry.
    void brangulo_Change();
    void chseno_Click();
    void chcoseno_Click();
    void chtangente_Click();
    void btemail_Click();
    void btpage_Click();
    // The pointer on the circle panel: the angle points from the centre towards it. On the graph panel: the angle
    // is the degree under it. Both act while the primary button (flag 1) is down; the scroll bar takes the angle.
    void frmsec1_MouseDown(int button, double x, double y);
    void frmsec1_MouseMove(int button, double x, double y);
    void frmsec3_MouseDown(int button, double x, double y);
    void frmsec3_MouseMove(int button, double x, double y);
    // The scroll bar's keys on a focused panel move the scroll bar; the focus stays where it is.
    void frmsec1_KeyDown(scene::HScrollBar::Step step);
    void frmsec3_KeyDown(scene::HScrollBar::Step step);

    // graus / 180 × π, dividing first, with the program's π.
    double radianos(const double& graus) const;

    // The load statement now running, or 0 outside the load.
    int loadStatement() const;

    // Puts into words what the panels and the scroll bar show now, and what the buttons open, for screen readers.
    void describe();
    // The angle and its three values as the captions now read, in Portuguese words for a screen reader, with the
    // exact forms of the notable values: "45 graus. Seno aproximadamente 0,707106781186547, que é raiz de dois
    // sobre dois. ..." (UTF-8).
    std::string angleSentence() const;
    // What became of a check box's graph: "Gráfico do seno oculto." (UTF-8).
    std::string graphSentence(const scene::CheckBox& box) const;

    scene::CommandButton &btemail, &btpage;
    scene::PictureBox& frmsec2;
    scene::Line &tangente2, &eixoxx2;
    scene::CheckBox &chseno, &chcoseno, &chtangente;
    scene::PictureBox& frmsec3;
    scene::LineArray &ftangente, &fcoseno, &fseno;
    scene::Line &eixoxx3, &vertical;
    scene::HScrollBar& brangulo;
    scene::PictureBox& frmsec1;
    scene::Line &raio, &tangente, &coseno, &seno, &eixoyy, &eixoxx;
    scene::Shape& circulo;
    scene::Label &lblalfa, &lblseno2, &lblcoseno2, &lbltg2;

private:
    void setValueCaptions(int alfa);
    void moveCircle(int alfa);
    void toggle(const scene::CheckBox& box, scene::LineArray& graph);
    void pointAt(int button, double x, double y);
    void pickDegree(int button, double x);

    Services services_;
    const rt::Trap* loading_ = nullptr;
    int changeDepth_ = 0; // runs of the angle's change handler under way: the fold of 360 nests one
    // Whether something listens to what the window says; when nothing does, the descriptions are left as they were
    // until a listener comes.
    bool heard();
    bool described_ = false; // the descriptions tell what shows now
};
