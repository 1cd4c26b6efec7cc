// Writes the window icon as a Windows .ico file and its 48x48 8-bit image as a PNG, for packaging.
#include "runtime/qticon.h"
#include "scene/icon.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeicon OUT.ico OUT.png\n");
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
    // No application object: QImage's PNG writer is built into Qt GUI and needs no display.
    for (const scene::IconImage& image : scene::iconImages())
        if (image.size == 48 && image.bitsPerPixel == 8) {
            if (!rt::iconQImage(image).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
                std::fprintf(stderr, "makeicon: cannot write %s\n", argv[2]);
                return 1;
            }
            return 0;
        }
    return 1;
}
