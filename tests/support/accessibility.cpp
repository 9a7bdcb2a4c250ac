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

std::vector<std::string> accessibilityFaults(QWidget& window) {
    std::vector<std::string> faults;
    std::map<QString, std::string> named;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        // The line edit inside a spin box or combo box is named through its owner.
        QWidget* owner = w->parentWidget();
        if (!w->isVisibleTo(&window) || qobject_cast<QAbstractSpinBox*>(owner) ||
            qobject_cast<QComboBox*>(owner))
            continue;
        const bool actsOn = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                            qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                            qobject_cast<QAbstractSlider*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                            qobject_cast<QPlainTextEdit*>(w);
        const bool indicator = qobject_cast<Shape*>(w) != nullptr;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        const QString name = accessible->text(QAccessible::Name).trimmed();
        // A name that is only the title of the frame around the control tells it apart from nothing.
        bool hasName = !name.isEmpty();
        for (QWidget* up = owner; up && hasName; up = up->parentWidget())
            if (auto* frame = qobject_cast<QGroupBox*>(up); frame && frame->title() == name) hasName = false;
        const QPoint at = w->mapTo(&window, QPoint(0, 0));
        const std::string where = std::string(w->metaObject()->className()) + " at " +
                                  std::to_string(at.x()) + "," + std::to_string(at.y());
        if (actsOn && !hasName) faults.push_back(where);
        if (indicator && (!hasName || accessible->text(QAccessible::Description).isEmpty()))
            faults.push_back(where + " (state)");
        if ((actsOn || indicator) && hasName) {
            const auto [first, isNew] = named.emplace(name, where);
            if (!isNew)
                faults.push_back(where + " shares \"" + name.toStdString() + "\" with " + first->second);
        }
    }
    return faults;
}
