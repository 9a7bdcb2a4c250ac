#pragma once

#include <QLineEdit>
#include <QString>

// A text box wide enough for `characters` wide characters, with its tooltip.
QLineEdit* fixedWidthBox(const QString& text, int characters, const QString& tip = {});
// The same, for showing values only.
QLineEdit* displayBox(const QString& text, int characters, const QString& tip = {});
