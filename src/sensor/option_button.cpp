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
