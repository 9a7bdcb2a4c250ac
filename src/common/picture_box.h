#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <optional>

// The pixels of a picture's image, for a drawing job that touches many of them: one access per pixel
// without the image's per-call checks. Take one per job; it must not outlive the job, since a copy of
// the image made meanwhile would share these pixels.
class PixelView {
public:
    PixelView(QRgb* first, qsizetype stride, int width, int height)
        : first_(first), stride_(stride), width_(width), height_(height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const {
        return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
               static_cast<unsigned>(y) < static_cast<unsigned>(height_);
    }
    // Outside the image nothing happens.
    void set(int x, int y, QRgb colour) {
        if (contains(x, y)) first_[y * stride_ + x] = colour | 0xFF000000u;
    }
    QRgb get(int x, int y) const { return first_[y * stride_ + x]; }
    // Rows top..bottom of column x, each from colours[row]; what lies outside the image is skipped.
    void setColumn(int x, int top, int bottom, const QRgb* colours) {
        if (static_cast<unsigned>(x) >= static_cast<unsigned>(width_)) return;
        QRgb* pixel = first_ + x;
        for (int row = std::max(top, 0); row <= std::min(bottom, height_ - 1); ++row)
            pixel[row * stride_] = colours[row] | 0xFF000000u;
    }
    // Rows top..bottom of column x in one colour; what lies outside the image is skipped.
    void fillColumn(int x, int top, int bottom, QRgb colour) {
        if (static_cast<unsigned>(x) >= static_cast<unsigned>(width_)) return;
        QRgb* pixel = first_ + x;
        for (int row = std::max(top, 0); row <= std::min(bottom, height_ - 1); ++row)
            pixel[row * stride_] = colour | 0xFF000000u;
    }

private:
    QRgb* first_;
    qsizetype stride_;
    int width_;
    int height_;
};

// A picture with a persistent image: drawing and printing go into the image, which shows when the
// picture is refreshed. Coordinates are pixels of the drawable interior, origin top left, y down;
// a sunken border, when there is one, lies outside the interior.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    enum class Border { None, Sunken };
    static constexpr int kSunkenBorderWidth = 2;

    // outerSize includes the border; the interior starts out filled with the background colour.
    PictureBox(QSize outerSize, Border border, QColor background, QWidget* parent = nullptr);

    // The persistent image (the interior), RGB32.
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    int ScaleWidth() const { return image_.width(); }
    int ScaleHeight() const { return image_.height(); }

    // One pixel of the image; empty outside it.
    std::optional<QRgb> pixel(int x, int y) const;
    // Sets one pixel; outside the image nothing happens.
    void setPixel(int x, int y, QRgb colour);
    // All pixels at once, for one drawing job.
    PixelView pixels();

    // Text output at the print position, in this picture's font.
    double CurrentX = 0;
    double CurrentY = 0;
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    // Prints at (CurrentX, CurrentY), then starts a new line: CurrentX 0, CurrentY one text height down.
    void Print(const QString& text);
    // Fills the image with the background colour and moves the print position to 0, 0.
    void Cls();
    // Shows the image as it is now.
    void Refresh() { Refresh(image_.rect()); }
    // Shows the part of the image that changed (in the image's coordinates); the rest is not repainted.
    void Refresh(const QRect& changed);
    // Shows the image after the part of it in `area` moved `dx` pixels sideways: what is on screen there
    // moves along, which costs far less than painting it again, and the strip it uncovers is repainted.
    // Whatever else changed in `area` (anything that did not simply move) must still be refreshed.
    void RefreshMoved(const QRect& area, int dx);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int inset() const { return border_ == Border::Sunken ? kSunkenBorderWidth : 0; }

    Border border_;
    QColor background_;
    QImage image_;
};
