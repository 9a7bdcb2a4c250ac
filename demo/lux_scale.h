#pragma once

// The level slider is logarithmic: a person wants a dim room and bright sunlight on one slider.
// Positions 0..kLuxSliderTop cover 0 to about 100000 lux.
inline constexpr int kLuxSliderTop = 500;
inline constexpr double kLuxBoxTop = 100000;

double luxAtSlider(int position);
int sliderAtLux(double lux);
