// Prints what the model computes, with no toolkit: number texts, the load (clean, at other sizes, and with each
// statement refused once), every angle, and the pointer at every pixel of the circle panel.
// The Windows build's output, run under Wine, must equal the Linux build's byte for byte; the suites check the
// Linux one.
#include "app/frmcirculo.h"
#include "runtime/error.h"
#include "runtime/numbers.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

std::string out;

void put(const std::string& s) { out += s; }
void put(double v)
{
    char buf[32];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr); // shortest text that reads back the same bits
    out += ' ';
}

struct Window : rt::MessageBox, rt::RecordedAddresses, rt::RecordedFocus, scene::Faults, frmcirculo {
    explicit Window(double twips = 15) : frmcirculo({*this, *this, *this, ','}, twips) { scene.faults = this; }
    void show(const std::string& text) override
    {
        put("  report " + std::to_string(loadStatement()) + " " + text + "\n");
    }
    void access(const scene::Element&, scene::Prop, bool) override { refuse(); }
    void load(const scene::LineArray&, int) override { refuse(); }
    void compute() override { refuse(); }
    void refuse()
    {
        if (refused && loadStatement() == refused)
            refused = 0, throw rt::RuntimeError(rt::InvalidCall);
    }
    int refused = 0;
};

void line(const scene::Line& l)
{
    put(std::string(l.name()) + "[" + std::to_string(l.Index()) + "] ");
    for (const double v :
         {double(l.x1()), double(l.y1()), double(l.x2()), double(l.y2()), double(l.colour()), double(l.shown())})
        put(v);
    put("\n");
}

// Every element's state, arrays included, and r.
void state(const frmcirculo& f)
{
    for (const auto& e : f.scene.elements())
        if (const auto* l = dynamic_cast<const scene::Line*>(e.get()))
            line(*l);
        else if (const auto* b = dynamic_cast<const scene::Boxed*>(e.get())) {
            put(std::string(b->name()) + " ");
            for (const double v :
                 {double(b->left()), double(b->top()), double(b->width()), double(b->height()), double(b->shown())})
                put(v);
            if (const auto* label = dynamic_cast<const scene::Label*>(b))
                put(label->text());
            put("\n");
        }
    for (const auto& a : f.scene.arrays())
        for (int i = 1; i < a->count(); ++i)
            if (const scene::Line* l = a->at(i))
                line(*l);
    put("r "), put(f.r), put("\n");
}

} // namespace

int main()
{
    put("numbers\n");
    const double values[] = {
        0.99999999999999983, -0.5,        1e-5, -1.25e-7, 1.234567890123456e20, 5e-324, DBL_MAX, HUGE_VAL,
        -HUGE_VAL,           std::nan("")};
    for (const double v : values)
        put(rt::numberText(v, '.') + " " + rt::numberText(v, ',') + "\n");
    for (const double v : {-0.5, -1e-15, 84.375, 3.5})
        put(rt::Int(v));
    put("\n");
    volatile double zero = 0, big = 1e308;
    for (const double v : {1 / zero, big * 10, zero / zero, 1e39}) {
        try {
            put(rt::single(rt::checked(v)));
        } catch (const rt::RuntimeError& e) {
            put("error " + std::to_string(e.number()) + " " + e.text() + "\n");
        }
    }

    for (const auto& [twips, narrow] : {std::pair{15.0, false}, {12.0, false}, {15.0, true}}) {
        put("load at twips per pixel "), put(twips), put(narrow ? "with narrow panels\n" : "\n");
        Window w(twips);
        if (narrow)
            w.frmsec1.setWidth(240), w.frmsec1.setHeight(226), w.frmsec3.setWidth(90.75);
        w.Form_Load();
        state(w);
    }
    put("each statement refused once: its reports, and a digest of the state it leaves\n");
    for (int k = 3; k <= 111; ++k) {
        Window w;
        w.refused = k;
        w.Form_Load();
        const std::size_t from = out.size();
        state(w);
        std::uint64_t digest = 14695981039346656037ull; // FNV-1a
        for (std::size_t i = from; i < out.size(); ++i)
            digest = (digest ^ static_cast<unsigned char>(out[i])) * 1099511628211ull;
        out.resize(from);
        put(std::to_string(k) + " " + std::to_string(digest) + "\n");
    }

    put("angles\n");
    Window w;
    w.Form_Load();
    for (int angle = 1; angle <= 360; ++angle) {
        w.brangulo.setValue(std::int16_t(angle));
        put(std::to_string(angle) + "\n");
        for (const auto& e : w.scene.elements())
            if (const auto* l = dynamic_cast<const scene::Line*>(e.get()); l && !w.scene.array(l->name()))
                line(*l);
        for (const auto* c : {&w.lblalfa, &w.lblseno2, &w.lblcoseno2, &w.lbltg2})
            put(c->text() + "\n");
    }
    put("pointer\n");
    // Every whole pixel of the circle panel, as a desktop's mouse gives them: the whole degree must not hang on the
    // last bits of the library's arc tangent.
    for (int y = -2; y < 224; ++y) {
        for (int x = -2; x < 240; ++x) {
            w.frmsec1_MouseDown(1, x, y);
            put(w.brangulo.value());
        }
        put("\n");
    }
    for (const double x : {-5.0, 0.4, 200.0, 359.6, 365.0, 400.0})
        w.frmsec3_MouseDown(1, x, 10), put(w.brangulo.value());
    put("\n");
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the same bytes: no CR before each LF
#endif
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
