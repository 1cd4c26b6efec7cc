// The window icon: a small unit-circle picture drawn by code, and the bytes of its Windows icon file.
#pragma once
#include <cstdint>
#include <vector>

namespace scene {

// One palette image of the icon with its transparency mask.
struct IconImage {
    int size;                           // width = height in pixels
    int bitsPerPixel;                   // 4 or 8
    std::vector<std::uint32_t> palette; // 16 or 256 entries, each 0x00RRGGBB
    std::vector<std::uint8_t> pixels;   // size*size palette indices, row-major, top row first
    std::vector<std::uint8_t> mask;     // size*size, 1 = transparent, 0 = opaque
};

// The six images in the icon file's order: 32x32, 16x16, 48x48 at 4 bits per pixel, then 32x32,
// 48x48, 16x16 at 8 bits. Transparent pixels hold index 0 (black).
std::vector<IconImage> iconImages();

// A true-colour image of the same drawing: 0xAARRGGBB, rows from the top, the alpha the share of each pixel that
// the disc covers.
struct IconArgbImage {
    int size;
    std::vector<std::uint32_t> argb;
};

// The true-colour image at any size from 16 pixels up: the icon file's, and the free desktops' icon themes'.
IconArgbImage iconArgbImage(int size);

// The true-colour images in the icon file's order: 16, 20, 24, 32, 40, 48, 64 and 256 pixels.
std::vector<IconArgbImage> iconArgbImages();

// The bytes of a Windows .ico file: the six palette images, each with its 1-bit AND mask, then the true-colour
// ones, the 256-pixel one as a PNG file.
std::vector<std::uint8_t> iconFile();

// One image's pixels as 0xAARRGGBB, rows from the top: alpha 0 where its mask is set, 255 elsewhere.
std::vector<std::uint32_t> iconArgb(const IconImage& image);

// The bytes of a PNG file of one image, transparent where its mask is set, for desktops that take PNG icons.
std::vector<std::uint8_t> iconPng(const IconImage& image);
std::vector<std::uint8_t> iconPng(const IconArgbImage& image);

} // namespace scene
