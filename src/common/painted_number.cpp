#include "common/painted_number.h"

#include <QEvent>
#include <QWidget>
#include <vector>

void NumberGlyphs::setFont(const QFont& font) {
    font_ = QRawFont::fromFont(font);
    text_.clear();
    glyphs_.emplace();  // the empty text's: none
}

const QGlyphRun* NumberGlyphs::of(const QString& text) {
    if (text == text_) return glyphs_ ? &*glyphs_ : nullptr;
    text_ = text;
    glyphs_.reset();
    const QList<quint32> indexes = font_.glyphIndexesForString(text);
    if (indexes.contains(0)) return nullptr;
    QList<QPointF> positions;
    QPointF next;
    for (const QPointF& advance : font_.advancesForGlyphIndexes(indexes)) {
        positions.append(next);
        next += advance;
    }
    glyphs_.emplace();
    glyphs_->setRawFont(font_);
    glyphs_->setGlyphIndexes(indexes);
    glyphs_->setPositions(positions);
    return &*glyphs_;
}

const QPixmap& Backdrop::of(const QWidget& widget) {
    const QRect place(widget.mapTo(widget.window(), QPoint()), widget.size());
    const qreal ratio = widget.devicePixelRatioF();
    if (!picture_.isNull() && at_ == place && picture_.devicePixelRatio() == ratio) return picture_;
    at_ = place;
    picture_ = QPixmap(widget.size() * ratio);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(widget.palette().color(widget.backgroundRole()));
    std::vector<QWidget*> ancestors;
    const auto within = [](const QWidget& child) {
        return child.isWindow() ? nullptr : child.parentWidget();
    };
    for (QWidget* above = within(widget); above; above = within(*above)) ancestors.push_back(above);
    // From the window down: each draws over what lies behind it, as on the screen.
    for (auto above = ancestors.rbegin(); above != ancestors.rend(); ++above) {
        const QRect area(widget.mapTo(*above, QPoint()), widget.size());
        const bool window = above == ancestors.rbegin();
        (*above)->render(&picture_, {}, area,
                         window ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
    }
    return picture_;
}

void Backdrop::follow(const QEvent& change) {
    const QEvent::Type type = change.type();
    if (type == QEvent::PaletteChange || type == QEvent::StyleChange || type == QEvent::EnabledChange ||
        type == QEvent::ParentChange)
        picture_ = {};
}
