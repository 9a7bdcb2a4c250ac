#pragma once

#include <QString>

// Where a test saves a picture for a person to look at: the folder TOLVANE_SCREENSHOT_DIR names
// (`make screenshots` sets it), otherwise a temporary folder that goes with the test process.
QString screenshotPath(const QString& fileName);
