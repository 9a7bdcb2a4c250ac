// A picture's image as a bottom-up byte array and back.
#include "acquisition/fast_drawing.h"

#include <gtest/gtest.h>

#include "tests/doubles/test_event_pump.h"

namespace {

struct Picture {
    TestEventPump events;
    FastDrawing drawing{events};
    PictureBox box{QSize(400, 300), PictureBox::Border::None, Qt::white};

    // Every pixel different, so a misplaced row or colour shows.
    void paintPattern() {
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                box.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
    }
};

TEST(FastDrawing, TheArrayHoldsRowsBottomUpColourFastestWithASpareRow) {
    Picture p;
    p.paintPattern();
    EXPECT_EQ(p.drawing.GetImageWidth(p.box), 399);
    EXPECT_EQ(p.drawing.GetImageHeight(p.box), 300);

    PixelArray pixels;
    p.drawing.GetImageData(p.box, pixels);
    EXPECT_EQ(pixels.bytes.size(), 3u * 400 * 301);
    for (auto [x, imageRow] : {std::pair{0, 299}, {7, 0}, {300, 150}, {399, 299}}) {
        const QRgb colour = *p.box.pixel(x, imageRow);
        const int y = 299 - imageRow;
        EXPECT_EQ(pixels.at(0, x, y), qBlue(colour)) << x << "," << imageRow;
        EXPECT_EQ(pixels.at(1, x, y), qGreen(colour));
        EXPECT_EQ(pixels.at(2, x, y), qRed(colour));
    }
    for (int x = 0; x < 400; ++x)
        EXPECT_EQ(pixels.at(0, x, 300) | pixels.at(1, x, 300) | pixels.at(2, x, 300), 0);
}

TEST(FastDrawing, WritingBackChangesOnlyTheChangedElementsAndLetsEventsRun) {
    Picture p;
    p.paintPattern();
    const QImage before = p.box.image().copy();
    PixelArray pixels;
    p.drawing.GetImageData(p.box, pixels);

    p.drawing.SetImageData(p.box, pixels);
    EXPECT_EQ(p.box.image(), before) << "an unchanged array leaves the picture unchanged";
    EXPECT_EQ(p.events.count(), 1);

    for (int colour = 0; colour < 3; ++colour) pixels.at(colour, 40, 0) = 0;
    pixels.at(2, 41, 300) = 0;  // the spare row is never written
    p.drawing.SetImageData(p.box, pixels);
    QImage expected = before;
    expected.setPixel(40, 299, qRgb(0, 0, 0));
    EXPECT_EQ(p.box.image(), expected);
    EXPECT_EQ(p.events.count(), 2);
}

TEST(FastDrawing, AnArrayThatNoLongerFitsIsWrittenOnlyWhereItOverlaps) {
    Picture p;
    PixelArray small{10, 5, std::vector<std::uint8_t>(3 * 10 * 6, 0)};
    p.drawing.SetImageData(p.box, small);
    PixelArray truncated{400, 300, std::vector<std::uint8_t>(3 * 400 * 2, 0)};  // two rows of data only
    p.drawing.SetImageData(p.box, truncated);

    int black = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (*p.box.pixel(x, y) == qRgb(0, 0, 0)) {
                ++black;
                EXPECT_TRUE(y >= 298 || (x < 10 && y >= 295)) << x << "," << y;
            }
    EXPECT_EQ(black, 2 * 400 + 10 * 3);
}

}  // namespace
