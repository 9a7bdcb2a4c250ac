#include "common/widget_factories.h"

#include <QLabel>

#include "common/shape.h"

QLineEdit* fixedWidthBox(const QString& text, int characters, const QString& tip) {
    return boxFitting(text, QString(characters, 'W'), tip);
}

QLineEdit* boxFitting(const QString& text, const QString& widest, const QString& tip) {
    auto* edit = new QLineEdit(text);
    edit->setToolTip(tip);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(widest) + 12);
    return edit;
}

QLineEdit* displayBox(const QString& text, int characters, const QString& tip) {
    QLineEdit* edit = fixedWidthBox(text, characters, tip);
    edit->setReadOnly(true);
    // The program rewrites these boxes many times a second while collecting. The frame around the
    // text never changes, so a new text repaints the box alone, not the frame behind it as well.
    edit->setAttribute(Qt::WA_OpaquePaintEvent);
    return edit;
}

QLineEdit* byteField(QWidget* parent, const QString& text) {
    auto* field = new QLineEdit(text, parent);
    field->setMaxLength(2);
    return field;
}

QHBoxLayout* indicatorRow(Shape* shape, const QString& caption) {
    auto* row = new QHBoxLayout;
    row->addWidget(shape);
    row->addWidget(new QLabel(caption));
    row->addStretch();
    return row;
}
