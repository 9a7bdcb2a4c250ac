#pragma once

#include <QColor>

// Indicator colours are indexes of the classic sixteen-colour palette.
enum PaletteIndex : int { Black = 0, Green = 2, BrightGreen = 10, BrightRed = 12 };

QColor paletteColour(int index);
