// Writes the window icon as a Windows .ico file and, for free desktops, its 48x48 8-bit image as a PNG.
#include "scene/icon.h"
#ifdef RODELUME_ICON_PNG
#include "runtime/qticon.h"
#endif

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: makeicon OUT.ico [OUT.png]\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = scene::iconFile();
    std::ofstream ico(argv[1], std::ios::binary | std::ios::trunc);
    ico.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ico.close();
    if (!ico) {
        std::fprintf(stderr, "makeicon: cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc == 2)
        return 0;
#ifdef RODELUME_ICON_PNG
    // No application object: QImage's PNG writer is built into Qt GUI and needs no display.
    for (const scene::IconImage& image : scene::iconImages())
        if (image.size == 48 && image.bitsPerPixel == 8 &&
            rt::iconQImage(image).save(QString::fromLocal8Bit(argv[2]), "PNG"))
            return 0;
#endif
    std::fprintf(stderr, "makeicon: cannot write %s\n", argv[2]);
    return 1;
}
