#pragma once

#include <QButtonGroup>
#include <QRadioButton>

// An option button whose Click signal follows the panel's design rather than Qt's "toggled": once for
// every click, by the user or by click(), also on the option already selected, and once whenever the
// program selects it. A click that selects the option raises it once, not twice.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);

signals:
    void Click();

protected:
    // A click changes the state only through here, and Qt then always emits clicked.
    void nextCheckState() override;

private:
    bool clicking_ = false;
};

// An option of a group, under its index there, with its tooltip.
OptionButton* groupOption(const QString& caption, QButtonGroup* group, int index, const QString& tip = {});
