#include "common/widget_factories.h"

#include <QLabel>

#include "common/display_box.h"
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
    auto* box = new DisplayBox(text);
    box->setToolTip(tip);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(characters, 'W')) + 12);
    return box;
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
