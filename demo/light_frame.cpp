#include "demo/light_frame.h"

#include <QFormLayout>
#include <QSignalBlocker>
#include <cmath>

#include "demo/lux_scale.h"
#include "sim/demo_board.h"

LightFrame::LightFrame(sim::TolvaneChip& chip, const sim::LightSetting& initial)
    : QGroupBox("Light"), chip_(chip), setting_(initial) {
    levelSlider = new QSlider(Qt::Horizontal);
    levelSlider->setAccessibleName("Light level");
    levelSlider->setRange(0, kLuxSliderTop);
    levelSlider->setToolTip("Light level, from darkness to full sunlight");
    levelBox = new QDoubleSpinBox;
    levelBox->setAccessibleName("Light level, lux");
    levelBox->setRange(0, kLuxBoxTop);
    levelBox->setDecimals(1);
    levelBox->setSuffix(" lux");
    levelBox->setToolTip("The average light level; steps and the wave move around it");
    shapeList = new QComboBox;
    shapeList->addItems({"Constant", "Steps", "Slow wave"});
    shapeList->setToolTip(
        "Steps: half, full, one and a half, full level, 5 s each. Slow wave: half to one and a half "
        "times the level and back in 20 s.");
    infraredBox = new QSpinBox;
    infraredBox->setAccessibleName("Infrared share, percent");
    infraredBox->setRange(0, 100);
    infraredBox->setSuffix(" %");
    infraredBox->setToolTip("The infrared part of the light: D1 sees all of it, D2 only this part");
    noiseBox = new QDoubleSpinBox;
    noiseBox->setAccessibleName("Noise, lux");
    noiseBox->setRange(0, 1000);
    noiseBox->setDecimals(1);
    noiseBox->setSuffix(" lux");
    noiseBox->setToolTip("Noise on the light, as a standard deviation");
    countLabel = new QLabel;
    countLabel->setToolTip("R5:R4 as the chip holds them now");

    levelSlider->setValue(sliderAtLux(initial.lux));
    levelBox->setValue(initial.lux);
    shapeList->setCurrentIndex(static_cast<int>(initial.shape));
    infraredBox->setValue(static_cast<int>(std::lround(initial.infraredShare * 100)));
    noiseBox->setValue(initial.noiseLux);

    // One control a row, so the window stays narrow enough to stand beside the panel.
    auto* form = new QFormLayout(this);
    form->addRow("Level", levelBox);
    form->addRow(levelSlider);
    form->addRow("Shape", shapeList);
    form->addRow("Infrared", infraredBox);
    form->addRow("Noise", noiseBox);
    form->addRow("Chip count", countLabel);

    connect(levelSlider, &QSlider::valueChanged, this, &LightFrame::levelSlider_Moved);
    connect(levelBox, &QDoubleSpinBox::valueChanged, this, &LightFrame::levelBox_Changed);
    connect(shapeList, &QComboBox::currentIndexChanged, this, [this](int index) {
        setting_.shape = static_cast<sim::LightSetting::Shape>(index);
        apply();
    });
    connect(infraredBox, &QSpinBox::valueChanged, this, [this](int percent) {
        setting_.infraredShare = percent / 100.0;
        apply();
    });
    connect(noiseBox, &QDoubleSpinBox::valueChanged, this, [this](double lux) {
        setting_.noiseLux = lux;
        apply();
    });
    apply();
}

void LightFrame::levelSlider_Moved(int position) {
    levelBox->setValue(luxAtSlider(position));
}

void LightFrame::levelBox_Changed(double lux) {
    // The box holds the exact level; the slider only follows it.
    const QSignalBlocker quiet(levelSlider);
    levelSlider->setValue(sliderAtLux(lux));
    setting_.lux = lux;
    apply();
}

void LightFrame::apply() {
    chip_.setLight(sim::LightSource::shaped(setting_, sim::kDemoLightSeed));
    refresh();
}

void LightFrame::refresh() {
    countLabel->setText(QString::number(chip_.reg(5) * 256 + chip_.reg(4)));
}
