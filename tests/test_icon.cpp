// Reads the icon file back with a parser of its own and checks its structure and picture.
#include "scene/icon.h"

#include <QTest>

namespace {
using Bytes = std::vector<std::uint8_t>;
unsigned u16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t u32(const Bytes& b, std::size_t at) { return u16(b, at) | std::uint32_t(u16(b, at + 2)) << 16; }
} // namespace

class TestIcon : public QObject {
    Q_OBJECT
private slots:
    // The six images in file order, with the row lengths that padding to 32 bits gives them.
    void images_data()
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
    void images()
    {
        QFETCH(int, entry);
        QFETCH(int, size);
        QFETCH(int, bits);
        QFETCH(int, xorRow);
        QFETCH(int, andRow);
        const Bytes file = scene::iconFile();
        QVERIFY(u16(file, 0) == 0 && u16(file, 2) == 1 && u16(file, 4) == 6);
        const std::size_t e = 6 + 16 * entry;
        QVERIFY(file.at(e) == size && file.at(e + 1) == size && file.at(e + 2) == (bits == 4 ? 16 : 0));
        QCOMPARE(int(u16(file, e + 6)), bits);
        const std::uint32_t bytes = u32(file, e + 8), at = u32(file, e + 12);
        // Each image follows the previous one, the first right after the directory, the last at the end.
        QCOMPARE(at, entry == 0 ? 6 + 6 * 16 : u32(file, e - 4) + u32(file, e - 8));
        QVERIFY(entry < 5 || at + bytes == file.size());
        QVERIFY(u32(file, at) == 40 && u32(file, at + 8) == std::uint32_t(2 * size) &&
                u16(file, at + 14) == unsigned(bits));
        QCOMPARE(bytes, 40 + (4u << bits) + std::uint32_t((xorRow + andRow) * size));

        // Decoded as bottom-up rows, the file holds exactly the drawn image and its mask.
        const scene::IconImage drawn = scene::iconImages().at(entry);
        const std::size_t xorAt = at + 40 + (4u << bits), andAt = xorAt + std::size_t(xorRow) * size;
        QCOMPARE(std::uint32_t(file.at(at + 40 + 4 * 12)) | file.at(at + 41 + 4 * 12) << 8, 0xFFu); // blue is B,G,R
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const std::size_t row = std::size_t(size - 1 - y);
                const std::uint8_t v = file.at(xorAt + row * xorRow + x * bits / 8);
                const std::size_t k = std::size_t(y) * size + x;
                QCOMPARE(bits == 8 ? v : x % 2 == 0 ? v >> 4 : v & 0x0F, int(drawn.pixels[k]));
                QCOMPARE(file.at(andAt + row * andRow + x / 8) >> (7 - x % 8) & 1, int(drawn.mask[k]));
            }

        // A disc on a transparent ground, with the blue sine in the first quadrant and the red cosine.
        const int mid = size / 2 - 1;
        QVERIFY(drawn.mask.front() && drawn.mask.back() && !drawn.mask[std::size_t(mid) * size + mid]);
        int red = 0, blue = 0;
        for (std::size_t k = 0; k < drawn.pixels.size(); ++k) {
            const std::uint32_t c = drawn.palette.at(drawn.pixels[k]);
            red += c == 0xFF0000;
            blue += c == 0x0000FF && int(k % size) > mid && int(k / size) <= mid;
        }
        QVERIFY(red >= size / 8 && blue >= size / 8);
    }
};

QTEST_GUILESS_MAIN(TestIcon)
#include "test_icon.moc"
