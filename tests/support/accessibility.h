#pragma once

#include <string>
#include <vector>

class QWidget;

// What a screen reader would get wrong in the window: every visible control a user can act on (buttons,
// boxes, lists, sliders) whose accessible name is empty, as "Class at x,y"; every indicator whose state
// has no description; and every name two of them share (the reader could not tell them apart).
std::vector<std::string> accessibilityFaults(QWidget& window);
