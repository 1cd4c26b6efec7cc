// What the three panels show, in words, so that a screen reader can say it.
#include "app/frmcirculo.h"

#include "runtime/numbers.h"

void frmcirculo::describePanels()
{
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
}
