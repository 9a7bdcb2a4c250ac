// A picture's image as a bottom-up byte array and back.
#include "acquisition/fast_drawing.h"

#include <gtest/gtest.h>

#include "tests/doubles/test_event_pump.h"

namespace {

struct Picture {
    TestEventPump events;
    FastDrawing drawing{events};
    PictureBox box{QSize(400, 300), PictureBox::Border::None, Qt::white};
};

// Blue, green, red of each pixel, x across, rows from the bottom up and a spare row that is never
// written; writing back changes only what was changed and lets window events run.
TEST(FastDrawing, TheArrayHoldsRowsBottomUpBlueFirstWithASpareRow) {
    Picture p;
    p.box.setPixel(7, 0, qRgb(1, 2, 3));
    p.box.setPixel(399, 299, qRgb(4, 5, 6));
    const QImage before = p.box.image().copy();
    EXPECT_EQ(p.drawing.GetImageWidth(p.box), 399);
    EXPECT_EQ(p.drawing.GetImageHeight(p.box), 300);
    PixelArray pixels;
    p.drawing.GetImageData(p.box, pixels);
    ASSERT_EQ(pixels.bytes.size(), 3u * 400 * 301);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&pixels.at(0, 7, 299)), 3), "\x03\x02\x01");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&pixels.at(0, 399, 0)), 3), "\x06\x05\x04");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&pixels.at(0, 0, 300)), 1200), QByteArray(1200, 0));

    p.drawing.SetImageData(p.box, pixels);
    EXPECT_EQ(p.box.image(), before) << "an unchanged array leaves the picture unchanged";
    EXPECT_EQ(p.events.count(), 1);
    pixels.at(0, 40, 0) = 0;
    pixels.at(2, 41, 300) = 0;
    p.drawing.SetImageData(p.box, pixels);
    QImage expected = before;
    expected.setPixel(40, 299, qRgb(255, 255, 0));
    EXPECT_EQ(p.box.image(), expected);
    EXPECT_EQ(p.events.count(), 2);
}

TEST(FastDrawing, AnArrayThatNoLongerFitsIsWrittenOnlyWhereItOverlaps) {
    Picture p;
    PixelArray small{10, 5, std::vector<std::uint8_t>(3 * 10 * 6, 0)};
    p.drawing.SetImageData(p.box, small);
    PixelArray truncated{400, 300, std::vector<std::uint8_t>(3 * 400 * 2, 0)};  // two rows of data only
    p.drawing.SetImageData(p.box, truncated);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            ASSERT_EQ(*p.box.pixel(x, y) == qRgb(0, 0, 0), y >= 298 || (x < 10 && y >= 295)) << x << "," << y;
}

}  // namespace
