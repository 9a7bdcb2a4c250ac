#pragma once

#include <QString>

// How the desktop tells the program's windows apart: the application's name, the desktop entry its
// windows belong to (the file name without ".desktop") and the icon they show. Needs a QApplication.
void setProgramIdentity(const QString& desktopFileName);
