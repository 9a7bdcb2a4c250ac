#pragma once

#include <QHBoxLayout>
#include <QLineEdit>
#include <QString>

class Shape;
class QWidget;

// The small widget shapes the windows share. Each window's frames are built in the file that holds
// their handlers, from these.

// A text box wide enough for `characters` wide characters, with its tooltip.
QLineEdit* fixedWidthBox(const QString& text, int characters, const QString& tip = {});
// A text box just wide enough for `widest`, the longest text it is meant to hold.
QLineEdit* boxFitting(const QString& text, const QString& widest, const QString& tip = {});
// The same as fixedWidthBox, for showing values only.
QLineEdit* displayBox(const QString& text, int characters, const QString& tip = {});
// An entry of one byte as two hexadecimal digits.
QLineEdit* byteField(QWidget* parent, const QString& text = {});
// A shape followed by its caption, on one row.
QHBoxLayout* indicatorRow(Shape* shape, const QString& caption);
