// Writes the window icon as a Windows .ico file and, for free desktops, its 48x48 8-bit image as a PNG.
#include "scene/icon.h"

#include <cstdio>
#include <fstream>

namespace {

bool write(const char* path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out)
        std::fprintf(stderr, "makeicon: cannot write %s\n", path);
    return bool(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: makeicon OUT.ico [OUT.png]\n");
        return 2;
    }
    if (!write(argv[1], scene::iconFile()))
        return 1;
    if (argc == 3)
        for (const scene::IconImage& image : scene::iconImages())
            if (image.size == 48 && image.bitsPerPixel == 8)
                return write(argv[2], scene::iconPng(image)) ? 0 : 1;
    return 0;
}
