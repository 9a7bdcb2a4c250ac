#include "common/widget_factories.h"

QLineEdit* fixedWidthBox(const QString& text, int characters, const QString& tip) {
    auto* edit = new QLineEdit(text);
    edit->setToolTip(tip);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(characters, 'W')) + 12);
    return edit;
}

QLineEdit* displayBox(const QString& text, int characters, const QString& tip) {
    QLineEdit* edit = fixedWidthBox(text, characters, tip);
    edit->setReadOnly(true);
    return edit;
}
