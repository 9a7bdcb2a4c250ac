// The picture with a persistent image: pixels, printing and the sunken border around the interior.
#include "common/picture_box.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureBox, TheInteriorIsTheImageAndTheSunkenBorderLiesAroundIt) {
    PictureBox plot(QSize(404, 304), PictureBox::Border::Sunken, Qt::white);
    EXPECT_EQ(plot.ScaleWidth(), 400);
    EXPECT_EQ(plot.ScaleHeight(), 300);
    plot.setPixel(0, 0, qRgb(255, 0, 0));
    plot.setPixel(400, 0, qRgb(255, 0, 0));  // outside: ignored
    plot.setPixel(-1, 5, qRgb(255, 0, 0));
    EXPECT_EQ(plot.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(plot.pixel(399, 299), qRgb(255, 255, 255));
    EXPECT_FALSE(plot.pixel(0, 300).has_value());

    const QImage shown = plot.grab().toImage();
    EXPECT_EQ(shown.pixel(2, 2), qRgb(255, 0, 0)) << "the image starts inside the border";
    EXPECT_EQ(shown.pixel(0, 0), plot.palette().color(QPalette::Dark).rgb()) << "shadow at the top left";
    EXPECT_EQ(shown.pixel(403, 303), plot.palette().color(QPalette::Light).rgb())
        << "light at the bottom right";
}

TEST(PictureBox, PrintStartsANewLineAndClsClearsTheImageAndThePrintPosition) {
    PictureBox labels(QSize(200, 100), PictureBox::Border::None, Qt::white);
    labels.CurrentX = 10;
    labels.CurrentY = 5;
    labels.Print("12");
    EXPECT_EQ(labels.CurrentX, 0);
    EXPECT_EQ(labels.CurrentY, 5 + labels.TextHeight("Yy"));
    bool inked = false;
    for (int y = 0; y < 100 && !inked; ++y)
        for (int x = 0; x < 200 && !inked; ++x) inked = labels.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(inked);
    labels.Cls();
    EXPECT_EQ(labels.CurrentY, 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_EQ(labels.pixel(x, y), qRgb(255, 255, 255));
}

}  // namespace
