#pragma once

#include <cstdint>
#include <vector>

#include "common/picture_box.h"
#include "platform/event_pump.h"

// A picture's whole image as bytes, so code can change many pixels as array elements: colour
// fastest (0 blue, 1 green, 2 red), then x (0..width - 1), then y (0..height), y = 0 the bottom row.
// The extra row y = height exists in the array but is never transferred.
struct PixelArray {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;  // 3 * width * (height + 1)

    std::uint8_t& at(int colour, int x, int y) {
        return bytes[static_cast<std::size_t>((y * width + x) * 3 + colour)];
    }
};

// Moves a picture's image into a pixel array and back, one transfer each way. Width and height are
// read from the picture's image at every call.
class FastDrawing {
public:
    explicit FastDrawing(EventPump& events) : events_(events) {}

    // The highest x index: the image's width minus 1.
    int GetImageWidth(const PictureBox& picture) const;
    // The highest y index of the array: the image's height.
    int GetImageHeight(const PictureBox& picture) const;
    // Sizes the array to the picture's image and fills it from the image.
    void GetImageData(const PictureBox& picture, PixelArray& pixels) const;
    // Writes the array onto the picture's image (rows 0..height - 1), refreshes the picture and lets
    // pending window events run, so the drawing shows as it progresses.
    void SetImageData(PictureBox& picture, const PixelArray& pixels);

private:
    EventPump& events_;
};
