#pragma once

#include <string>
#include <vector>

class QWidget;

// What a screen reader would announce without a name: every visible control of the window a user can
// act on (buttons, boxes, lists, sliders) whose accessible name is empty, as "Class objectName or
// position", and every indicator whose state has no description.
std::vector<std::string> unnamedControls(QWidget& window);
