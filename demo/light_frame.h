#pragma once

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

#include "sim/light_source.h"
#include "sim/tolvane_chip.h"

// The light falling on the chip: its level (slider and box), shape, infrared share and noise. Every
// change reaches the chip at once; the count label shows what the chip holds now.
class LightFrame : public QGroupBox {
    Q_OBJECT
public:
    LightFrame(sim::TolvaneChip& chip, const sim::LightSetting& initial);

    QSlider* levelSlider;
    QDoubleSpinBox* levelBox;  // lux
    QComboBox* shapeList;      // in the order of LightSetting::Shape
    QSpinBox* infraredBox;     // percent
    QDoubleSpinBox* noiseBox;  // lux, standard deviation
    QLabel* countLabel;

    const sim::LightSetting& setting() const { return setting_; }
    void refresh();

private:
    void levelSlider_Moved(int position);
    void levelBox_Changed(double lux);
    void apply();

    sim::TolvaneChip& chip_;
    sim::LightSetting setting_;
};
