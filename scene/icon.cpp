// Draws the window icon from a few shapes and writes it in the Windows icon file format.
#include "scene/icon.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>

namespace scene {

namespace {

constexpr std::array<std::uint32_t, 16> standardColours = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                           0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                           0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

constexpr std::uint32_t silver = 0xC0C0C0, gray = 0x808080, black = 0x000000, red = 0xFF0000, blue = 0x0000FF;
constexpr std::uint32_t transparent = 0xFFFFFFFFu; // outside every shape; not a palette colour

// The standard colours, a 6x6x6 cube and a 24-step gray ramp: 16 + 216 + 24 entries.
std::vector<std::uint32_t> palette256()
{
    std::vector<std::uint32_t> p(standardColours.begin(), standardColours.end());
    for (std::uint32_t r = 0; r < 6; ++r)
        for (std::uint32_t g = 0; g < 6; ++g)
            for (std::uint32_t b = 0; b < 6; ++b)
                p.push_back(r * 51 << 16 | g * 51 << 8 | b * 51);
    for (std::uint32_t i = 0; i < 24; ++i) {
        const std::uint32_t v = 8 + 10 * i;
        p.push_back(v << 16 | v << 8 | v);
    }
    return p;
}

// Lengths are in fortieths of a pixel, which make every sample position and line width a whole
// number; whole-number arithmetic draws the same pixels whatever the compiler does with floating
// point. Pixel (i, j) covers [40i, 40i+40) x [40j, 40j+40).
using Length = std::int64_t;
constexpr Length unit = 40;

// The picture's geometry at one size. The centre sits on a pixel's middle so that one-pixel lines
// through it stay sharp, and the circle's point is a whole number of pixels from the centre so that
// the sine segment fills whole columns.
struct Figure {
    Length centre;     // both coordinates of the axes' crossing
    Length background; // radius of the gray disc
    Length axis;       // half length of each axis
    Length radius2;    // square of the circle's radius, which passes through the point
    Length pointX, pointY;
    Length line;     // half width of the outline and the radius
    Length segment;  // half width of the sine and cosine segments
    Length axisLine; // half width of the axes
};

Figure figure(int size, int bitsPerPixel)
{
    // Offsets of the circle's point, about 42-45 degrees above the x axis.
    const Length dx = size <= 16 ? 4 : size <= 32 ? 9 : 14;
    const Length dy = size <= 16 ? 4 : size <= 32 ? 8 : 13;
    Figure f{};
    f.centre = size / 2 * unit - unit / 2;
    f.background = f.centre;
    f.axis = f.background - 3 * unit / 2;
    f.radius2 = (dx * dx + dy * dy) * unit * unit;
    f.pointX = f.centre + dx * unit;
    f.pointY = f.centre - dy * unit;
    // Sampled at the pixels' middles only, a 1.5-pixel ring would come out uneven, so 4-bit takes
    // whole widths; 8-bit lines are a little over a pixel so that their core stays pure black.
    const Length width = bitsPerPixel == 4 ? (size < 48 ? 40 : 80) : size < 48 ? 50 : 60;
    f.line = width / 2;
    f.segment = (size >= 48 ? 3 : size >= 32 ? 2 : 1) * unit / 2;
    f.axisLine = unit / 2;
    return f;
}

// The true-colour images': the 48-pixel drawing's proportions at any size, its lines no thinner than there.
Figure trueColourFigure(int size)
{
    const auto scaled = [size](Length v48) { return std::max<Length>(v48, (v48 * size + 24) / 48); };
    const Length dx = size <= 16 ? 4 : (14 * size + 24) / 48, dy = size <= 16 ? 4 : (13 * size + 24) / 48;
    Figure f{};
    f.centre = size / 2 * unit - unit / 2;
    f.background = f.centre;
    f.axis = f.background - scaled(3 * unit / 2);
    f.radius2 = (dx * dx + dy * dy) * unit * unit;
    f.pointX = f.centre + dx * unit;
    f.pointY = f.centre - dy * unit;
    f.line = size < 48 ? 25 : scaled(30);
    f.segment = size < 32 ? unit / 2 : size < 48 ? unit : scaled(3 * unit / 2);
    f.axisLine = scaled(unit / 2);
    return f;
}

Length square(Length v) { return v * v; }

// Whether (x, y) lies within half width h of the segment (ax, ay)-(bx, by): the squared distance to
// the nearer end beyond the segment's span, to the line itself within it.
bool onSegment(Length x, Length y, Length ax, Length ay, Length bx, Length by, Length h)
{
    const Length vx = bx - ax, vy = by - ay, wx = x - ax, wy = y - ay;
    const Length along = wx * vx + wy * vy, length2 = vx * vx + vy * vy;
    if (along <= 0)
        return square(wx) + square(wy) <= square(h);
    if (along >= length2)
        return square(x - bx) + square(y - by) <= square(h);
    return (square(wx) + square(wy)) * length2 - square(along) <= square(h) * length2;
}

// Whether a point at squared distance d2 from the centre lies within h of the circle of squared
// radius r2: |d - r| <= h, squared twice to keep to whole numbers (r > h).
bool onCircle(Length d2, Length r2, Length h)
{
    const Length outside = d2 - r2 - h * h, inside = r2 + h * h - d2;
    const Length limit = 4 * h * h * r2;
    return !(outside > 0 && outside * outside > limit) && !(inside > 0 && inside * inside > limit);
}

// The colour at a point, later shapes painted over earlier ones.
std::uint32_t colourAt(const Figure& f, Length x, Length y)
{
    const Length c = f.centre;
    const Length d2 = square(x - c) + square(y - c);
    if (d2 > square(f.background))
        return transparent;
    std::uint32_t colour = silver;
    if (onSegment(x, y, c - f.axis, c, c + f.axis, c, f.axisLine) ||
        onSegment(x, y, c, c - f.axis, c, c + f.axis, f.axisLine))
        colour = gray;
    if (onCircle(d2, f.radius2, f.line) || onSegment(x, y, c, c, f.pointX, f.pointY, f.line))
        colour = black;
    // Thick segments grow inwards and the cosine downwards, leaving the outline and the radius
    // clear; their round ends are pulled in so they stop at the centre's, the point's and the
    // axis' pixels.
    const Length inset = f.segment - unit / 2;
    if (onSegment(x, y, c + inset, c + inset, f.pointX - inset, c + inset, f.segment))
        colour = red;
    if (onSegment(x, y, f.pointX - inset, f.pointY + inset, f.pointX - inset, c - inset, f.segment))
        colour = blue;
    return colour;
}

// The palette entry nearest to a colour; ties go to the lower index, so standard colours keep
// their standard entries.
std::uint8_t nearest(const std::vector<std::uint32_t>& palette, std::uint32_t rgb)
{
    const auto channel = [](std::uint32_t v, int shift) { return int(v >> shift & 0xFF); };
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        long d = 0;
        for (int shift : {16, 8, 0}) {
            const long delta = channel(palette[i], shift) - channel(rgb, shift);
            d += delta * delta;
        }
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return std::uint8_t(best);
}

// The colours of a pixel's grid of samples inside the disc, summed.
struct Samples {
    unsigned r = 0, g = 0, b = 0, n = 0;
    std::uint32_t average() const { return (r + n / 2) / n << 16 | (g + n / 2) / n << 8 | (b + n / 2) / n; }
};

Samples sample(const Figure& f, int i, int j, int grid)
{
    Samples s;
    for (int sj = 0; sj < grid; ++sj)
        for (int si = 0; si < grid; ++si) {
            const std::uint32_t c =
                colourAt(f, i * unit + (2 * si + 1) * unit / 2 / grid, j * unit + (2 * sj + 1) * unit / 2 / grid);
            if (c == transparent)
                continue;
            s.r += c >> 16 & 0xFF;
            s.g += c >> 8 & 0xFF;
            s.b += c & 0xFF;
            ++s.n;
        }
    return s;
}

IconImage render(int size, int bitsPerPixel)
{
    const Figure f = figure(size, bitsPerPixel);
    IconImage image{size, bitsPerPixel, {}, {}, {}};
    image.palette =
        bitsPerPixel == 4 ? std::vector<std::uint32_t>(standardColours.begin(), standardColours.end()) : palette256();
    image.pixels.assign(std::size_t(size) * size, 0);
    image.mask.assign(std::size_t(size) * size, 1);
    // The 8-bit images average a 5x5 grid of samples for softer edges; the 4-bit ones take the
    // middle sample only, which keeps their lines in the pure colours.
    const int grid = bitsPerPixel == 4 ? 1 : 5;
    std::map<std::uint32_t, std::uint8_t> entries; // most pixels share a few colours
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            const std::uint32_t middle = colourAt(f, i * unit + unit / 2, j * unit + unit / 2);
            if (middle == transparent)
                continue;
            const std::size_t k = std::size_t(j) * size + i;
            image.mask[k] = 0;
            // A pixel whose corners and middle agree lies inside one shape: no need to average.
            const Length x0 = i * unit + unit / 2 / grid, x1 = i * unit + unit - unit / 2 / grid;
            const Length y0 = j * unit + unit / 2 / grid, y1 = j * unit + unit - unit / 2 / grid;
            if (grid == 1 || (colourAt(f, x0, y0) == middle && colourAt(f, x1, y0) == middle &&
                              colourAt(f, x0, y1) == middle && colourAt(f, x1, y1) == middle)) {
                auto [it, fresh] = entries.try_emplace(middle, 0);
                if (fresh)
                    it->second = nearest(image.palette, middle);
                image.pixels[k] = it->second;
                continue;
            }
            // The mask cuts the disc's edge; only its inside counts.
            const std::uint32_t average = sample(f, i, j, grid).average();
            auto [it, fresh] = entries.try_emplace(average, 0);
            if (fresh)
                it->second = nearest(image.palette, average);
            image.pixels[k] = it->second;
        }
    return image;
}

// Each pixel the average of a grid of samples, its alpha the share of them inside the disc.
IconArgbImage renderArgb(int size)
{
    const Figure f = trueColourFigure(size);
    const int grid = size >= 128 ? 4 : 5;
    IconArgbImage image{size, std::vector<std::uint32_t>(std::size_t(size) * size, 0)};
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            const Samples got = sample(f, i, j, grid);
            if (!got.n)
                continue;
            const unsigned all = unsigned(grid * grid), alpha = (255 * got.n + all / 2) / all;
            image.argb[std::size_t(j) * size + i] = alpha << 24 | got.average();
        }
    return image;
}

void put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Bytes in one bitmap row, padded to a whole number of 32-bit words.
std::size_t rowBytes(int width, int bitsPerPixel) { return (std::size_t(width) * bitsPerPixel + 31) / 32 * 4; }

std::size_t resourceBytes(const IconImage& im)
{
    return 40 + im.palette.size() * 4 + (rowBytes(im.size, im.bitsPerPixel) + rowBytes(im.size, 1)) * im.size;
}

} // namespace

std::vector<IconImage> iconImages()
{
    return {render(32, 4), render(16, 4), render(48, 4), render(32, 8), render(48, 8), render(16, 8)};
}

IconArgbImage iconArgbImage(int size) { return renderArgb(size); }

std::vector<IconArgbImage> iconArgbImages()
{
    std::vector<IconArgbImage> images;
    for (const int size : {16, 20, 24, 32, 40, 48, 64, 256})
        images.push_back(renderArgb(size));
    return images;
}

std::vector<std::uint8_t> iconFile()
{
    const std::vector<IconImage> images = iconImages();
    const std::vector<IconArgbImage> trueColour = iconArgbImages();
    // The true-colour images as they are stored: a bitmap of 32-bit rows from the bottom and its mask, or a PNG file.
    std::vector<std::vector<std::uint8_t>> stored;
    for (const IconArgbImage& im : trueColour) {
        std::vector<std::uint8_t> bytes;
        const int n = im.size;
        if (n == 256) {
            stored.push_back(iconPng(im));
            continue;
        }
        const std::size_t andRow = rowBytes(n, 1);
        put32(bytes, 40);
        put32(bytes, std::uint32_t(n));
        put32(bytes, std::uint32_t(2 * n));
        put16(bytes, 1);
        put16(bytes, 32);
        put32(bytes, 0);
        put32(bytes, std::uint32_t((std::size_t(n) * 4 + andRow) * n));
        for (int k = 0; k < 4; ++k)
            put32(bytes, 0);
        for (int j = n - 1; j >= 0; --j)
            for (int i = 0; i < n; ++i)
                put32(bytes, im.argb[std::size_t(j) * n + i]); // B, G, R, A
        for (int j = n - 1; j >= 0; --j) {
            std::vector<std::uint8_t> row(andRow, 0);
            for (int i = 0; i < n; ++i)
                if (!(im.argb[std::size_t(j) * n + i] >> 24))
                    row[i / 8] |= std::uint8_t(0x80 >> i % 8);
            bytes.insert(bytes.end(), row.begin(), row.end());
        }
        stored.push_back(std::move(bytes));
    }
    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, unsigned(images.size() + trueColour.size()));
    std::size_t offset = 6 + 16 * (images.size() + trueColour.size());
    const auto entry = [&](int size, int colours, int bits, std::size_t bytes) {
        out.push_back(std::uint8_t(size)); // 256 is written as 0
        out.push_back(std::uint8_t(size));
        out.push_back(std::uint8_t(colours));
        out.push_back(0);
        put16(out, 1);
        put16(out, unsigned(bits));
        put32(out, std::uint32_t(bytes));
        put32(out, std::uint32_t(offset));
        offset += bytes;
    };
    for (const IconImage& im : images)
        entry(im.size, im.bitsPerPixel == 4 ? 16 : 0, im.bitsPerPixel, resourceBytes(im));
    for (std::size_t k = 0; k < trueColour.size(); ++k)
        entry(trueColour[k].size, 0, 32, stored[k].size());
    for (const IconImage& im : images) {
        const int n = im.size;
        const std::size_t xorRow = rowBytes(n, im.bitsPerPixel), andRow = rowBytes(n, 1);
        put32(out, 40);
        put32(out, std::uint32_t(n));
        put32(out, std::uint32_t(2 * n)); // the colour bitmap and the mask stacked
        put16(out, 1);
        put16(out, unsigned(im.bitsPerPixel));
        put32(out, 0);
        put32(out, std::uint32_t((xorRow + andRow) * n));
        for (int k = 0; k < 4; ++k)
            put32(out, 0);
        for (std::uint32_t rgb : im.palette) {
            out.push_back(std::uint8_t(rgb));
            out.push_back(std::uint8_t(rgb >> 8));
            out.push_back(std::uint8_t(rgb >> 16));
            out.push_back(0);
        }
        for (int j = n - 1; j >= 0; --j) {
            std::vector<std::uint8_t> row(xorRow, 0);
            for (int i = 0; i < n; ++i) {
                const std::uint8_t index = im.pixels[std::size_t(j) * n + i];
                if (im.bitsPerPixel == 8)
                    row[i] = index;
                else
                    row[i / 2] |= std::uint8_t(i % 2 == 0 ? index << 4 : index);
            }
            out.insert(out.end(), row.begin(), row.end());
        }
        for (int j = n - 1; j >= 0; --j) {
            std::vector<std::uint8_t> row(andRow, 0);
            for (int i = 0; i < n; ++i)
                if (im.mask[std::size_t(j) * n + i])
                    row[i / 8] |= std::uint8_t(0x80 >> i % 8);
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    for (const std::vector<std::uint8_t>& bytes : stored)
        out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

namespace {

// Chunk checksums of the PNG format.
std::uint32_t crc32(const std::uint8_t* p, std::size_t n, std::uint32_t crc = 0)
{
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void putBig32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(v >> shift));
}

void chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    putBig32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, crc32(out.data() + start, out.size() - start));
}

} // namespace

std::vector<std::uint32_t> iconArgb(const IconImage& im)
{
    std::vector<std::uint32_t> out(im.pixels.size());
    for (std::size_t k = 0; k < out.size(); ++k)
        out[k] = im.mask[k] ? 0u : 0xFF000000u | im.palette[im.pixels[k]];
    return out;
}

namespace {

// Deflate's bits, least significant first; its Huffman codes, most significant first.
class Bits {
public:
    std::vector<std::uint8_t> bytes;
    void put(unsigned value, int count)
    {
        for (int k = 0; k < count; ++k) {
            if (!used_)
                bytes.push_back(0);
            bytes.back() = std::uint8_t(bytes.back() | (value >> k & 1) << used_);
            used_ = (used_ + 1) % 8;
        }
    }
    void code(unsigned value, int length)
    {
        for (int k = length - 1; k >= 0; --k)
            put(value >> k & 1, 1);
    }
    // A symbol of the fixed literal and length code.
    void symbol(unsigned v)
    {
        if (v < 144)
            code(0x30 + v, 8);
        else if (v < 256)
            code(0x190 + v - 144, 9);
        else if (v < 280)
            code(v - 256, 7);
        else
            code(0xC0 + v - 280, 8);
    }
    // A copy of the byte before, `length` (3 to 258) times.
    void repeat(unsigned length)
    {
        static constexpr unsigned base[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static constexpr int extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                        2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        unsigned c = 28;
        while (base[c] > length)
            --c;
        symbol(257 + c);
        put(length - base[c], extra[c]);
        code(0, 5); // distance 1
    }

private:
    int used_ = 0;
};

// One block of deflate with its fixed code, runs of a byte as copies of the byte before: the rows' differences from
// the row above (PNG's Up filter) are runs of zeros but at the drawing's edges, which is all the icon needs.
std::vector<std::uint8_t> deflate(const std::vector<std::uint8_t>& raw)
{
    Bits out;
    out.put(1, 1); // the last block
    out.put(1, 2); // fixed code
    for (std::size_t i = 0; i < raw.size();) {
        std::size_t run = 0;
        while (i > 0 && run < 258 && i + run < raw.size() && raw[i + run] == raw[i - 1])
            ++run;
        if (run >= 3) {
            out.repeat(unsigned(run));
            i += run;
        } else {
            out.symbol(raw[i++]);
        }
    }
    out.symbol(256);
    return out.bytes;
}

std::vector<std::uint8_t> png(std::uint32_t n, const std::vector<std::uint32_t>& argb)
{
    std::vector<std::uint8_t> raw, above(std::size_t(n) * 4, 0);
    for (std::uint32_t y = 0; y < n; ++y) {
        raw.push_back(2); // Up
        for (std::uint32_t x = 0; x < n; ++x) {
            const std::uint32_t c = argb[std::size_t(y) * n + x];
            const std::uint8_t rgba[] = {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c),
                                         std::uint8_t(c >> 24)};
            for (std::size_t k = 0; k < 4; ++k) {
                std::uint8_t& last = above[std::size_t(x) * 4 + k];
                raw.push_back(std::uint8_t(rgba[k] - last));
                last = rgba[k];
            }
        }
    }
    std::vector<std::uint8_t> z = {0x78, 0x01};
    const std::vector<std::uint8_t> compressed = deflate(raw);
    z.insert(z.end(), compressed.begin(), compressed.end());
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : raw)
        a = (a + byte) % 65521, b = (b + a) % 65521;
    putBig32(z, b << 16 | a);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBig32(header, n);
    putBig32(header, n);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits a channel, RGBA, no interlace
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", {});
    return out;
}

} // namespace

std::vector<std::uint8_t> iconPng(const IconImage& im) { return png(std::uint32_t(im.size), iconArgb(im)); }

std::vector<std::uint8_t> iconPng(const IconArgbImage& im) { return png(std::uint32_t(im.size), im.argb); }

} // namespace scene
