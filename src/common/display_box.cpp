#include "common/display_box.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <vector>

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
    // We draw the frame; the text keeps the place it has inside a styled frame.
    setFrame(false);
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    setTextMargins(border, border, border, border);
    setFont(withoutShaping(font()));
    connect(this, &QLineEdit::selectionChanged, this, &DisplayBox::followReaders);
    followReaders();
}

void DisplayBox::followReaders() {
    const bool read = hasFocus() || hasSelectedText() || readers().active();
    const EchoMode shown = read ? Normal : NoEcho;
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
    if (hasFocus() || hasSelectedText()) {
        QLineEdit::paintEvent(event);
        QPainter painter(this);
        const QStyleOptionFrame option = frameOption();
        style()->drawPrimitive(QStyle::PE_FrameLineEdit, &option, &painter, this);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, face());
    const QRect inside = rect().marginsRemoved(textMargins());
    painter.setClipRect(inside);
    painter.setPen(palette().color(QPalette::Text));
    const QPoint baseline = lineStart(inside) + QPoint(0, fontMetrics().ascent());
    const QGlyphRun& glyphs = glyphs_.of(text());
    if (glyphs.isEmpty()) {
        painter.drawText(baseline, text());
    } else {
        painter.drawGlyphRun(baseline, glyphs);
    }
}

void DisplayBox::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) glyphs_.setFont(font());
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::EnabledChange || event->type() == QEvent::ParentChange)
        face_ = {};
}

void NumberGlyphs::setFont(const QFont& font) {
    font_ = QRawFont::fromFont(font);
    text_.clear();
    glyphs_ = {};
}

const QGlyphRun& NumberGlyphs::of(const QString& text) {
    if (text == text_) return glyphs_;
    text_ = text;
    glyphs_ = {};
    const QList<quint32> indexes = font_.glyphIndexesForString(text);
    if (indexes.contains(0)) return glyphs_;
    QList<QPointF> positions;
    QPointF next;
    for (const QPointF& advance : font_.advancesForGlyphIndexes(indexes)) {
        positions.append(next);
        next += advance;
    }
    glyphs_.setRawFont(font_);
    glyphs_.setGlyphIndexes(indexes);
    glyphs_.setPositions(positions);
    return glyphs_;
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
    if (!face_.isNull() && faceAt_ == geometry()) return face_;
    faceAt_ = geometry();
    // What lies behind shows at the rounded corners, as it does around any text box.
    face_ = backdropOf(*this);
    QPainter painter(&face_);
    // As a text box with a frame draws itself: the panel, which draws its frame too.
    const QStyleOptionFrame option = frameOption();
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    return face_;
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

QPixmap backdropOf(const QWidget& widget) {
    const qreal ratio = widget.devicePixelRatioF();
    QPixmap backdrop(widget.size() * ratio);
    backdrop.setDevicePixelRatio(ratio);
    backdrop.fill(widget.palette().color(widget.backgroundRole()));
    std::vector<QWidget*> ancestors;
    const auto within = [](const QWidget& child) {
        return child.isWindow() ? nullptr : child.parentWidget();
    };
    for (QWidget* above = within(widget); above; above = within(*above)) ancestors.push_back(above);
    // From the window down: each draws over what lies behind it, as on the screen.
    for (auto above = ancestors.rbegin(); above != ancestors.rend(); ++above) {
        const QRect area(widget.mapTo(*above, QPoint()), widget.size());
        const bool window = above == ancestors.rbegin();
        (*above)->render(&backdrop, {}, area,
                         window ? QWidget::DrawWindowBackground : QWidget::RenderFlags());
    }
    return backdrop;
}
