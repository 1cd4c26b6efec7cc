// The commands: the three curve toggles, the two link buttons and the start-up focus.
#include "app/addresses.h"
#include "app/frmcirculo.h"

#include "runtime/trap.h"

void frmcirculo::toggle(const scene::CheckBox& box, scene::LineArray& graph)
{
    const bool visible = box.Value() == 1; // a grayed box hides its graph too
    const double bound = frmsec3.Width();
    for (int i = 0; i <= bound; ++i)
        graph[i].setVisible(visible);
}

void frmcirculo::chseno_Click() { toggle(chseno, fseno); }
void frmcirculo::chcoseno_Click() { toggle(chcoseno, fcoseno); }
void frmcirculo::chtangente_Click() { toggle(chtangente, ftangente); }

// The desktop's answer is not the program's concern: nothing is shown either way.
void frmcirculo::btemail_Click() { services_.addresses.open(address::email); }
void frmcirculo::btpage_Click() { services_.addresses.open(address::homePage); }

void frmcirculo::Form_Activate()
{
    rt::Trap t(services_.messages, "Ocorreu um erro: ");
    t(2, [&] { brangulo.SetFocus(); });
}
