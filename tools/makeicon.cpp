// Writes the window icon as a Windows .ico file, the 8-bit images' pixels as C++ arrays for a binding that would
// otherwise draw them at every start, and PNGs at the sizes of the free desktops' hicolor theme.
#include "scene/icon.h"

#include <cstdio>
#include <filesystem>
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
        std::fprintf(stderr, "usage: makeicon OUT.ico OUT.inc HICOLOR_DIR\n");
        return 2;
    }
    if (!write(argv[1], scene::iconFile()))
        return 1;
    const std::string source = arrays(scene::iconImages());
    if (!write(argv[2], source.data(), source.size()))
        return 1;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string n = std::to_string(size);
        const std::filesystem::path dir = std::filesystem::path(argv[3]) / (n + "x" + n) / "apps";
        std::error_code error;
        std::filesystem::create_directories(dir, error);
        if (!write((dir / "rodelume.png").c_str(), scene::iconPng(scene::iconArgbImage(size))))
            return 1;
    }
    return 0;
}
