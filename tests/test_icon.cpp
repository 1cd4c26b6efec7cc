// Reads the icon file back with a parser of its own and checks its structure and picture.
#include "runtime/qticon.h"
#include "scene/icon.h"

#include <QTest>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Palette = std::vector<std::uint32_t>;

const Palette standard = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                          0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

unsigned u16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t u32(const Bytes& b, std::size_t at) { return u16(b, at) | std::uint32_t(u16(b, at + 2)) << 16; }

} // namespace

class TestIcon : public QObject {
    Q_OBJECT

private:
    // The six images in file order, with the row lengths that padding to 32 bits gives them.
    static void imageRows()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("xorRow");
        QTest::addColumn<int>("andRow");
        QTest::newRow("32x32 4-bit") << 0 << 32 << 4 << 16 << 4;
        QTest::newRow("16x16 4-bit") << 1 << 16 << 4 << 8 << 4;
        QTest::newRow("48x48 4-bit") << 2 << 48 << 4 << 24 << 8;
        QTest::newRow("32x32 8-bit") << 3 << 32 << 8 << 32 << 4;
        QTest::newRow("48x48 8-bit") << 4 << 48 << 8 << 48 << 8;
        QTest::newRow("16x16 8-bit") << 5 << 16 << 8 << 16 << 4;
    }

private slots:
    void header()
    {
        const Bytes file = scene::iconFile();
        QCOMPARE(u16(file, 0), 0u);
        QCOMPARE(u16(file, 2), 1u);
        QCOMPARE(u16(file, 4), 6u);
        QVERIFY(scene::iconFile() == file);
    }

    void images_data() { imageRows(); }
    void images()
    {
        QFETCH(int, entry);
        QFETCH(int, size);
        QFETCH(int, bits);
        QFETCH(int, xorRow);
        QFETCH(int, andRow);
        const Bytes file = scene::iconFile();
        const std::size_t e = 6 + 16 * entry;
        QCOMPARE(int(file.at(e)), size);
        QCOMPARE(int(file.at(e + 1)), size);
        QCOMPARE(int(file.at(e + 2)), bits == 4 ? 16 : 0);
        QCOMPARE(int(file.at(e + 3)), 0);
        QCOMPARE(u16(file, e + 4), 1u);
        QCOMPARE(int(u16(file, e + 6)), bits);
        const std::uint32_t bytes = u32(file, e + 8), at = u32(file, e + 12);
        // Each image follows the previous one, the first right after the directory, the last at the end.
        QCOMPARE(at, entry == 0 ? 6 + 6 * 16 : u32(file, e - 4) + u32(file, e - 8));
        QVERIFY(std::size_t(at) + bytes <= file.size());
        if (entry == 5)
            QCOMPARE(std::size_t(at) + bytes, file.size());

        const std::uint32_t image = std::uint32_t((xorRow + andRow) * size);
        QCOMPARE(u32(file, at), 40u);
        QCOMPARE(u32(file, at + 4), std::uint32_t(size));
        QCOMPARE(u32(file, at + 8), std::uint32_t(2 * size));
        QCOMPARE(u16(file, at + 12), 1u);
        QCOMPARE(int(u16(file, at + 14)), bits);
        QCOMPARE(u32(file, at + 16), 0u);
        QCOMPARE(u32(file, at + 20), image);
        QCOMPARE(bytes, 40 + (4u << bits) + image);

        // Decoded as B,G,R,0 quads and bottom-up rows, the file holds exactly the drawn image.
        Palette palette;
        for (std::size_t q = at + 40; q < at + 40 + (4u << bits); q += 4)
            palette.push_back(std::uint32_t(file.at(q + 2)) << 16 | file.at(q + 1) << 8 | file.at(q));
        Bytes pixels, mask;
        const std::size_t xorAt = at + 40 + (4u << bits), andAt = xorAt + std::size_t(xorRow) * size;
        for (int row = size - 1; row >= 0; --row)
            for (int x = 0; x < size; ++x) {
                const std::uint8_t v = file.at(xorAt + std::size_t(row) * xorRow + x * bits / 8);
                pixels.push_back(bits == 8 ? v : x % 2 == 0 ? v >> 4 : v & 0x0F);
                mask.push_back(file.at(andAt + std::size_t(row) * andRow + x / 8) >> (7 - x % 8) & 1);
            }
        const scene::IconImage drawn = scene::iconImages().at(entry);
        QCOMPARE(palette, drawn.palette);
        QCOMPARE(Palette(palette.begin(), palette.begin() + 16), standard);
        QCOMPARE(pixels, drawn.pixels);
        QCOMPARE(mask, drawn.mask);
    }

    void picture_data() { imageRows(); }
    void picture()
    {
        QFETCH(int, entry);
        const scene::IconImage im = scene::iconImages().at(entry);
        const int n = im.size, mid = n / 2 - 1;
        const auto transparent = [&](int x, int y) { return im.mask.at(std::size_t(y) * n + x) != 0; };
        QVERIFY(transparent(0, 0) && transparent(n - 1, 0) && transparent(0, n - 1) && transparent(n - 1, n - 1));
        QVERIFY(!transparent(mid, mid) && !transparent(mid + 1, mid + 1));
        int black = 0, dark = 0, red = 0, blue = 0;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const std::uint32_t c = im.palette.at(im.pixels.at(std::size_t(y) * n + x));
                if (transparent(x, y)) {
                    QCOMPARE(c, 0x000000u); // black leaves the screen unchanged under the AND mask
                    continue;
                }
                black += c == 0x000000;
                dark += (c >> 16 & 0xFF) <= 0x40 && (c >> 8 & 0xFF) <= 0x40 && (c & 0xFF) <= 0x40;
                red += c == 0xFF0000;
                if (c == 0x0000FF) {
                    ++blue;
                    QVERIFY2(x > mid && y <= mid, "the sine rises in the first quadrant");
                }
            }
        // The outline, longer than the side, is black at its core and dark along its edges.
        QVERIFY(black > 0);
        QVERIFY(dark >= n);
        QVERIFY(red >= n / 8);
        QVERIFY(blue >= n / 8);
    }

    void qimage_data() { imageRows(); }
    void qimage()
    {
        QFETCH(int, entry);
        const scene::IconImage im = scene::iconImages().at(entry);
        const QImage q = rt::iconQImage(im);
        QCOMPARE(q.format(), QImage::Format_ARGB32);
        QCOMPARE(q.size(), QSize(im.size, im.size));
        for (int y = 0; y < im.size; ++y)
            for (int x = 0; x < im.size; ++x) {
                const std::size_t k = std::size_t(y) * im.size + x;
                const QRgb p = q.pixel(x, y);
                QCOMPARE(qAlpha(p), im.mask[k] ? 0 : 255);
                if (!im.mask[k])
                    QCOMPARE(p & 0xFFFFFFu, im.palette[im.pixels[k]]);
            }
    }
};

QTEST_GUILESS_MAIN(TestIcon)
#include "test_icon.moc"
