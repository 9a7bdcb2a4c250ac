#include "sensor/option_button.h"

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    connect(this, &QAbstractButton::clicked, this, &OptionButton::Click);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        // Selected by a click: the clicked signal that follows raises Click.
        if (on && !clicking_) emit Click();
    });
}

void OptionButton::nextCheckState() {
    clicking_ = true;
    QRadioButton::nextCheckState();
    clicking_ = false;
}

OptionButton* groupOption(const QString& caption, QButtonGroup* group, int index, const QString& tip) {
    auto* button = new OptionButton(caption);
    button->setToolTip(tip);
    group->addButton(button, index);
    return button;
}
