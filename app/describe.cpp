// What the window says to screen readers: the panels, the scroll bar and the buttons described, the angle in
// words as it changes, and a graph shown or hidden.
#include "app/frmcirculo.h"

#include "runtime/numbers.h"

#include <charconv>

using scene::Text;

namespace {

// The exact form of a value that the captions give only approximately, with its sign.
enum Root : signed char { NoRoot = 0, RootTwoHalf = 1, RootThreeHalf = 2, RootThree = 3, RootThreeThird = 4 };
constexpr const char* rootWords[] = {"", "raiz de dois sobre dois", "raiz de três sobre dois", "raiz de três",
                                     "raiz de três sobre três"};
struct RootRow {
    int alfa;
    signed char sine, cosine, tangent;
};
constexpr RootRow roots[] = {
    {30, NoRoot, RootThreeHalf, RootThreeThird},   {45, RootTwoHalf, RootTwoHalf, NoRoot},
    {60, RootThreeHalf, NoRoot, RootThree},        {120, RootThreeHalf, NoRoot, -RootThree},
    {135, RootTwoHalf, -RootTwoHalf, NoRoot},      {150, NoRoot, -RootThreeHalf, -RootThreeThird},
    {210, NoRoot, -RootThreeHalf, RootThreeThird}, {225, -RootTwoHalf, -RootTwoHalf, NoRoot},
    {240, -RootThreeHalf, NoRoot, RootThree},      {300, -RootThreeHalf, NoRoot, -RootThree},
    {315, -RootTwoHalf, RootTwoHalf, NoRoot},      {330, NoRoot, RootThreeHalf, -RootThreeThird},
};

// The sign is said as a word: a synthesizer may skip a leading hyphen or read it as punctuation, and the sign is
// what a student most needs to hear. An exact caption keeps its point on the screen; spoken, the user's separator
// takes its place, since a point between digits reads as a thousands separator or a word in Portuguese.
std::string number(const Text& text, char separator)
{
    std::string said;
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '-') {
        said = "menos ";
        digits.remove_prefix(1);
    }
    for (const char c : digits)
        said += c == '.' ? separator : c;
    return said;
}

// "Seno aproximadamente 0,707106781186547, que é raiz de dois sobre dois." from "a » 0,707106781186547", or
// "Tangente: não existe (infinita)." from "a = ¥".
std::string value(const char* name, const Text& caption, signed char root, char separator)
{
    const bool approximate = caption.size() > 2 && caption[2] == '\xBB';
    const Text shown = caption.size() > 4 ? caption.substr(4) : Text();
    if (shown == "\xA5")
        return std::string(name) + ": não existe (infinita).";
    std::string said = std::string(name) + (approximate ? " aproximadamente " : ": ") + number(shown, separator);
    if (root != NoRoot)
        said += std::string(", que é ") + (root < 0 ? "menos " : "") + rootWords[root < 0 ? -root : root];
    return said + ".";
}

// "45 graus", "1 grau".
std::string degreeWords(std::string_view degrees, int alfa)
{
    return std::string(degrees) + (alfa == 1 ? " grau" : " graus");
}

} // namespace

std::string frmcirculo::angleSentence() const
{
    // "a = 45°": the degrees lie between the equals sign's space and the degree sign.
    const Text& angle = lblalfa.text();
    const std::string_view degrees =
        angle.size() > 5 ? std::string_view(angle).substr(4, angle.size() - 5) : std::string_view();
    int alfa = -1;
    std::from_chars(degrees.data(), degrees.data() + degrees.size(), alfa);
    RootRow row = {alfa, NoRoot, NoRoot, NoRoot};
    for (const RootRow& r : roots)
        if (r.alfa == alfa)
            row = r;
    const char sep = services_.decimalSeparator;
    return degreeWords(degrees, alfa) + ". " + value("Seno", lblseno2.text(), row.sine, sep) + " " +
           value("Co-seno", lblcoseno2.text(), row.cosine, sep) + " " +
           value("Tangente", lbltg2.text(), row.tangent, sep);
}

std::string frmcirculo::graphSentence(const scene::CheckBox& box) const
{
    const scene::LineArray& graph = &box == &chseno ? fseno : &box == &chcoseno ? fcoseno : ftangente;
    const char* name = &box == &chseno ? "do seno" : &box == &chcoseno ? "do co-seno" : "da tangente";
    return std::string("Gráfico ") + name + (graph.at(0)->shown() ? " visível." : " oculto.");
}

void frmcirculo::describe()
{
    described_ = true;
    const std::string angle = rt::numberText(brangulo.value()) + "°";
    frmsec1.describe("Raio no ângulo de " + angle + ", com os segmentos do seno, do co-seno e da tangente.");
    frmsec2.describe(tangente2.shown() ? "A tangente sai do painel do círculo; a reta mostra a sua inclinação."
                                       : "A tangente cabe no painel do círculo; a reta está oculta.");
    std::string graphs;
    for (const auto& [box, name] : {std::pair{&chseno, "seno"}, {&chcoseno, "co-seno"}, {&chtangente, "tangente"}})
        if (box->value() == 1)
            graphs += (graphs.empty() ? "" : ", ") + std::string(name);
    frmsec3.describe("Gráficos de " + (graphs.empty() ? std::string("nenhuma função") : graphs) +
                     " por grau, com o marcador em " + angle + ".");
    brangulo.describe(angleSentence());
    brangulo.valueWords = degreeWords(rt::numberText(brangulo.value()), brangulo.value());
    btemail.describe("Escreve ao autor por correio eletrónico.");
    btpage.describe("Abre a página do autor no navegador.");
}
