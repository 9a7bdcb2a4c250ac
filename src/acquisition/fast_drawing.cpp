#include "acquisition/fast_drawing.h"

#include <algorithm>

// The array holds rows bottom-up, the image top-down: array row y is image row height - 1 - y.

int FastDrawing::GetImageWidth(const PictureBox& picture) const {
    return picture.image().width() - 1;
}

int FastDrawing::GetImageHeight(const PictureBox& picture) const {
    return picture.image().height();
}

void FastDrawing::GetImageData(const PictureBox& picture, PixelArray& pixels) const {
    const QImage& image = picture.image();
    pixels.width = image.width();
    pixels.height = image.height();
    pixels.bytes.assign(static_cast<std::size_t>(3 * pixels.width * (pixels.height + 1)), 0);
    for (int y = 0; y < pixels.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(pixels.height - 1 - y));
        for (int x = 0; x < pixels.width; ++x) {
            pixels.at(0, x, y) = static_cast<std::uint8_t>(qBlue(line[x]));
            pixels.at(1, x, y) = static_cast<std::uint8_t>(qGreen(line[x]));
            pixels.at(2, x, y) = static_cast<std::uint8_t>(qRed(line[x]));
        }
    }
}

void FastDrawing::SetImageData(PictureBox& picture, const PixelArray& pixels) {
    QImage& image = picture.image();
    // An array that no longer matches the image (the picture was resized, or the caller built it
    // by hand) is written only where both overlap, never past either end.
    const int width = std::min(image.width(), pixels.width);
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(std::max(pixels.width, 1));
    const int rows =
        std::min({image.height(), pixels.height, static_cast<int>(pixels.bytes.size() / rowBytes)});
    for (int y = 0; y < rows; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(image.height() - 1 - y));
        const std::uint8_t* row = pixels.bytes.data() + y * rowBytes;
        for (int x = 0; x < width; ++x) line[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    picture.Refresh();
    events_.processEvents();
}
