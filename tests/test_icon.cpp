// Reads the icon file back with a parser of its own and checks its structure and pictures.
#include "scene/icon.h"

#include <QTest>

namespace {
using Bytes = std::vector<std::uint8_t>;
unsigned u16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t u32(const Bytes& b, std::size_t at) { return u16(b, at) | std::uint32_t(u16(b, at + 2)) << 16; }

// A disc on a transparent ground, with the red cosine and the blue sine in the first quadrant; in true colour the
// disc's edge is partly transparent.
void picture(const std::vector<std::uint32_t>& argb, int n, bool soft)
{
    int red = 0, blue = 0, partial = 0;
    for (std::size_t k = 0; k < argb.size(); ++k) {
        red += argb[k] == 0xFFFF0000;
        blue += argb[k] == 0xFF0000FF && int(k % n) >= n / 2 && int(k / n) < n / 2;
        partial += argb[k] >> 24 > 0 && argb[k] >> 24 < 255;
    }
    QVERIFY2(argb.front() == 0 && argb.back() == 0 && argb.at(std::size_t(n / 2) * n + n / 2) >> 24 == 255 &&
                 red >= n / 8 && blue >= n / 8 && partial >= (soft ? n : 0),
             qPrintable(QString::number(n)));
}
} // namespace

class TestIcon : public QObject {
    Q_OBJECT
private slots:
    // Every image decoded from the file's bottom-up rows (4-bit pairs, 8-bit indices into a B, G, R palette, or
    // B, G, R, A) is the drawing, with the AND mask set exactly where it is transparent. Each image follows the one
    // before; the 256-pixel one is a PNG file that ends the file.
    void file()
    {
        const Bytes file = scene::iconFile();
        std::vector<std::pair<int, std::vector<std::uint32_t>>> drawn; // in the file's order
        for (const scene::IconImage& im : scene::iconImages())
            drawn.emplace_back(im.size, scene::iconArgb(im));
        for (const scene::IconArgbImage& im : scene::iconArgbImages())
            drawn.emplace_back(im.size, im.argb);
        QVERIFY(drawn.size() == 14 && u16(file, 0) == 0 && u16(file, 2) == 1 && u16(file, 4) == 14);
        for (std::size_t entry = 0; entry < drawn.size(); ++entry) {
            const auto& [n, argb] = drawn[entry];
            const unsigned bits = entry < 3 ? 4 : entry < 6 ? 8 : 32;
            const std::size_t e = 6 + 16 * entry;
            const std::uint32_t bytes = u32(file, e + 8), at = u32(file, e + 12);
            QVERIFY(file.at(e) == (n & 0xFF) && file.at(e + 1) == (n & 0xFF) &&
                    file.at(e + 2) == (bits == 4 ? 16 : 0) && u16(file, e + 6) == bits);
            QCOMPARE(at, entry ? u32(file, e - 4) + u32(file, e - 8) : 6 + 14 * 16);
            picture(argb, n, bits == 32);
            if (n == 256) {
                QCOMPARE(std::size_t(at) + bytes, file.size());
                QVERIFY(Bytes(file.begin() + at, file.end()) == scene::iconPng(scene::IconArgbImage{n, argb}));
                continue;
            }
            const std::size_t xorRow = (n * bits + 31) / 32 * 4, andRow = std::size_t(n + 31) / 32 * 4;
            const std::size_t xorAt = at + 40 + (bits < 32 ? 4u << bits : 0), andAt = xorAt + xorRow * n;
            QVERIFY(u32(file, at) == 40 && u32(file, at + 8) == 2u * n && u16(file, at + 14) == bits);
            QCOMPARE(std::size_t(bytes), andAt + andRow * n - at);
            int wrong = 0;
            for (int y = 0; y < n; ++y)
                for (int x = 0; x < n; ++x) {
                    const std::size_t row = std::size_t(n - 1 - y), k = std::size_t(y) * n + x;
                    const bool masked = file.at(andAt + row * andRow + x / 8) >> (7 - x % 8) & 1;
                    const std::uint32_t v = bits == 32 ? u32(file, xorAt + 4 * (row * n + x))
                                                       : file.at(xorAt + row * xorRow + x * bits / 8);
                    const std::uint32_t index = bits == 8 ? v : x % 2 ? v & 0x0F : v >> 4;
                    const std::uint32_t c = bits == 32 ? v : masked ? 0 : 0xFF000000 | u32(file, at + 40 + 4 * index);
                    wrong += c != argb[k] || masked != (argb[k] >> 24 == 0);
                }
            QCOMPARE(wrong, 0);
        }
        for (const int n : {22, 128}) // the free desktops' sizes that the file lacks
            picture(scene::iconArgbImage(n).argb, n, true);
    }
};

QTEST_GUILESS_MAIN(TestIcon)
#include "test_icon.moc"
