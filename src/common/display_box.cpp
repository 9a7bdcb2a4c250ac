#include "common/display_box.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kTextMargin = 2;  // what a text box leaves between its frame and its text, each side

// Whether a screen reader is at work: every box's text box shows its text while one is, and not after.
class ReaderWatch final : public QAccessible::ActivationObserver {
public:
    ReaderWatch() : active_(QAccessible::isActive()) { QAccessible::installActivationObserver(this); }
    bool active() const { return active_; }
    void accessibilityActiveChanged(bool active) override {
        active_ = active;
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* box = qobject_cast<DisplayBox*>(widget)) box->followReaders();
    }

private:
    bool active_;
};

ReaderWatch& readers() {
    // Never destroyed: Qt may tell its observers of a change while the program's statics go.
    static auto* const watch = new ReaderWatch;
    return *watch;
}
}  // namespace

DisplayBox::DisplayBox(const QString& text) : QLineEdit(text), glyphs_(withoutShaping(font())) {
    setReadOnly(true);
    // The box paints itself whole, so a new text repaints the box alone, not the frame behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(withoutShaping(font()));
    // A text box that shows nothing sees no change to show when a text of the same length follows; and
    // where a new number differs from the last in its last digits, only they need drawing.
    connect(this, &QLineEdit::textChanged, this, &DisplayBox::repaintChange);
    connect(this, &QLineEdit::selectionChanged, this, &DisplayBox::followReaders);
    followReaders();
}

void DisplayBox::followReaders() {
    const bool inUse = hasFocus() || hasSelectedText();
    // In use, the text box draws itself, frame and all. Otherwise we draw the frame, and the text keeps
    // the place it has inside a styled frame.
    if (hasFrame() != inUse) {
        setFrame(inUse);
        const int border = inUse ? 0 : style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        setTextMargins(border, border, border, border);
    }
    const EchoMode shown = inUse || readers().active() ? Normal : NoEcho;
    if (echoMode() != shown) setEchoMode(shown);
}

void DisplayBox::focusInEvent(QFocusEvent* event) {
    followReaders();  // first: a box reached with Tab selects its whole text
    QLineEdit::focusInEvent(event);
}

void DisplayBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    followReaders();
}

void DisplayBox::paintEvent(QPaintEvent* event) {
    if (hasFrame()) {
        QPainter(this).drawPixmap(0, 0, backdrop_.of(*this));
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, face());
    const QRect inside = rect().marginsRemoved(textMargins());
    painter.setClipRect(inside);
    painter.setPen(palette().color(QPalette::Text));
    const QPoint baseline = lineStart(inside) + QPoint(0, fontMetrics().ascent());
    const QGlyphRun& glyphs = glyphs_.of(text());
    shown_ = text();
    if (glyphs.isEmpty() && !shown_.isEmpty()) {
        painter.drawText(baseline, text());
        shownWidth_.reset();
    } else {
        painter.drawGlyphRun(baseline, glyphs);
        shownWidth_ = glyphs_.width();
    }
}

void DisplayBox::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) glyphs_.setFont(font());
    backdrop_.follow(*event);  // and with it the face drawn on it
}

QStyleOptionFrame DisplayBox::frameOption() const {
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = rect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    return option;
}

const QPixmap& DisplayBox::face() {
    // What lies behind shows at the rounded corners, as it does around any text box.
    const QPixmap& behind = backdrop_.of(*this);
    if (!face_.isNull() && faceOn_ == behind.cacheKey()) return face_;
    faceOn_ = behind.cacheKey();
    face_ = behind;
    QPainter painter(&face_);
    // As a text box with a frame draws itself: the panel, which draws its frame too.
    const QStyleOptionFrame option = frameOption();
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    return face_;
}

void DisplayBox::repaintChange(const QString& next) {
    if (!isVisible()) return;                    // shown again, it is drawn whole
    const QGlyphRun& glyphs = glyphs_.of(next);  // kept for the repaint
    if (!shownWidth_ || glyphs.glyphIndexes().size() != next.size() || hasFrame()) {
        update();
        return;
    }
    // The characters both texts begin with stand where they stood; the rest, old and new, is repainted.
    const auto alike =
        std::mismatch(shown_.begin(), shown_.end(), next.begin(), next.end()).first - shown_.begin();
    const QList<QPointF> positions = glyphs.positions();
    const qreal from = alike < positions.size() ? positions[alike].x() : glyphs_.width();
    const qreal to = std::max(*shownWidth_, glyphs_.width());
    if (from >= to) return;
    // A glyph's blended edge may reach a pixel or two past its advance on either side.
    constexpr int kEdge = 2;
    const QRect inside = rect().marginsRemoved(textMargins());
    const int start = lineStart(inside).x();
    const QRect changed(QPoint(start + static_cast<int>(from) - kEdge, inside.top()),
                        QPoint(start + static_cast<int>(std::ceil(to)) + kEdge, inside.bottom()));
    update(changed & inside);
}

QPoint DisplayBox::lineStart(const QRect& inside) const {
    return {inside.left() + kTextMargin, inside.top() + (inside.height() - fontMetrics().height() + 1) / 2};
}

QFont withoutShaping(QFont font) {
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return font;
}

void showText(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}
