#include "runtime/qt/program.h"

#include "runtime/qt/look.h"

#include <QLocale>

namespace qtui {

Program::Program() :
    texts_(QLocale::system()), form_({messages_, addresses_, focus_, userDecimalSeparator()}, screenTwipsPerPixel()),
    loaded_((form_.Form_Load(), true)), window_(form_.scene)
{
    focus_.window = &window_;
    window_.Activate = [this] { form_.Form_Activate(); };
    if (!texts_.scrollMenu()) // rather no menu than one in English
        window_.widget("brangulo")->setContextMenuPolicy(Qt::NoContextMenu);
}

void Program::show()
{
    window_.centre();
    window_.show();
    quitWhenDestroyed(window_);
}

} // namespace qtui
