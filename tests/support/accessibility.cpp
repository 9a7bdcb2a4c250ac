#include "tests/support/accessibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <map>

#include "common/shape.h"

namespace {

bool actsOn(QWidget* widget) {
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
           qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
           qobject_cast<QAbstractSlider*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
           qobject_cast<QPlainTextEdit*>(widget);
}

std::string where(QWidget* widget, QWidget& window) {
    const QPoint at = widget->mapTo(&window, QPoint(0, 0));
    return std::string(widget->metaObject()->className()) + " at " + std::to_string(at.x()) + "," +
           std::to_string(at.y());
}

// A name that is only the title of the frame around the control tells it apart from nothing.
bool onlyFrameTitle(QWidget* widget, const QString& name) {
    for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
        if (auto* frame = qobject_cast<QGroupBox*>(up); frame && frame->title() == name) return true;
    return false;
}

}  // namespace

std::vector<std::string> accessibilityFaults(QWidget& window) {
    std::vector<std::string> unnamed;
    std::map<QString, std::string> named;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) continue;
        // The line edit inside a spin box or combo box is named through its owner.
        if (qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) ||
            qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        const QString name = accessible->text(QAccessible::Name).trimmed();
        const bool hasName = !name.isEmpty() && !onlyFrameTitle(widget, name);
        const bool indicator = qobject_cast<Shape*>(widget) != nullptr;
        if (actsOn(widget) && !hasName) unnamed.push_back(where(widget, window));
        if (indicator && (!hasName || accessible->text(QAccessible::Description).isEmpty()))
            unnamed.push_back(where(widget, window) + " (state)");
        if ((actsOn(widget) || indicator) && hasName) {
            const auto [first, isNew] = named.emplace(name, where(widget, window));
            if (!isNew)
                unnamed.push_back(where(widget, window) + " shares \"" + name.toStdString() + "\" with " +
                                  first->second);
        }
    }
    return unnamed;
}
