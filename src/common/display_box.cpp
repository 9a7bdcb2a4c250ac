#include "common/display_box.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace {
constexpr int kTextMargin = 2;  // what a text box leaves between its frame and its text, each side

// The ink of a line's glyphs from the `first` on, where the line starts at 0 on its baseline.
QRectF inkFrom(const QGlyphRun& glyphs, qsizetype first) {
    const QList<quint32> indexes = glyphs.glyphIndexes();
    const QList<QPointF> positions = glyphs.positions();
    QRectF ink;
    for (qsizetype n = first; n < indexes.size(); ++n)
        ink |= glyphs.rawFont().boundingRect(indexes[n]).translated(positions[n]);
    return ink;
}

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
    painter.setClipRect(inside());
    painter.setPen(palette().color(QPalette::Text));
    if (const QGlyphRun* glyphs = glyphs_.of(text())) {
        painter.drawGlyphRun(baseline(), *glyphs);
        shown_ = *glyphs;
    } else {
        painter.drawText(baseline(), text());
        shown_.reset();
    }
}

void DisplayBox::moveEvent(QMoveEvent* event) {
    QLineEdit::moveEvent(event);
    // Qt moves what the box showed, but what lies behind its corners has changed.
    update();
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
    const QGlyphRun* glyphs = glyphs_.of(next);  // kept for the repaint
    if (!shown_ || !glyphs || hasFrame()) {
        update();
        return;
    }
    // Unshaped, a glyph stands where the glyphs before it put it: those both texts begin with stay as
    // they are, and only the ink of the rest, old and new, changes.
    const QList<quint32> before = shown_->glyphIndexes();
    const QList<quint32> after = glyphs->glyphIndexes();
    const qsizetype alike =
        std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin();
    const QRectF changed = inkFrom(*shown_, alike) | inkFrom(*glyphs, alike);
    if (changed.isEmpty()) return;
    // A pixel round it for the hinting, which may move an edge a little off the outline.
    update(changed.translated(baseline()).toAlignedRect().adjusted(-1, -1, 1, 1) & inside());
}

QRect DisplayBox::inside() const {
    return rect().marginsRemoved(textMargins());
}

QPoint DisplayBox::baseline() const {
    // Where a text box starts its line inside its margins: a little in, centred in height.
    const QRect line = inside();
    const QFontMetrics metrics = fontMetrics();
    return {line.left() + kTextMargin,
            line.top() + (line.height() - metrics.height() + 1) / 2 + metrics.ascent()};
}

QFont withoutShaping(QFont font) {
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return font;
}

void showText(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}
