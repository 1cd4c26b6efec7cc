// Writes the window icon as a Windows .ico file, its 48x48 8-bit image as a PNG for free desktops, and the
// 8-bit images' pixels as C++ arrays for a binding that would otherwise draw them at every start.
#include "scene/icon.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

bool write(const char* path, const void* bytes, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), std::streamsize(size));
    out.close();
    if (!out)
        std::fprintf(stderr, "makeicon: cannot write %s\n", path);
    return bool(out);
}

bool write(const char* path, const std::vector<std::uint8_t>& bytes) { return write(path, bytes.data(), bytes.size()); }

// inline constexpr arrays iconArgb16, iconArgb32 and iconArgb48.
std::string arrays(const std::vector<scene::IconImage>& images)
{
    std::string out = "// Made by makeicon from the icon's drawing: the 8-bit images, 0xAARRGGBB, rows from the top.\n";
    char word[24];
    for (const scene::IconImage& image : images) {
        if (image.bitsPerPixel != 8)
            continue;
        out += "inline constexpr std::uint32_t iconArgb" + std::to_string(image.size) + "[] = {";
        const std::vector<std::uint32_t> argb = scene::iconArgb(image);
        for (std::size_t k = 0; k < argb.size(); ++k) {
            std::snprintf(word, sizeof word, "%s0x%08X,", k % 8 ? " " : "\n    ", unsigned(argb[k]));
            out += word;
        }
        out += "\n};\n";
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: makeicon OUT.ico OUT.png OUT.inc\n");
        return 2;
    }
    const std::vector<scene::IconImage> images = scene::iconImages();
    if (!write(argv[1], scene::iconFile()))
        return 1;
    for (const scene::IconImage& image : images)
        if (image.size == 48 && image.bitsPerPixel == 8 && !write(argv[2], scene::iconPng(image)))
            return 1;
    const std::string source = arrays(images);
    return write(argv[3], source.data(), source.size()) ? 0 : 1;
}
