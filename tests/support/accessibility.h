#pragma once

#include <string>
#include <vector>

class QWidget;

// What a screen reader would get wrong in the window, as "Class at x,y": every visible control without a
// name, every indicator whose state has no description, and every name two of them share.
std::vector<std::string> accessibilityFaults(QWidget& window);
