#pragma once

#include <QString>

// Who we are to the user and the desktop, written once. The title names the application, the About
// box and every box that has no title of its own.
inline constexpr char kProgramTitle[] = "Tolvane";

// Tells the desktop which entry our windows belong to (the desktop file's name without ".desktop") and
// gives every window the built-in icon. Needs a QApplication.
void setProgramIdentity(const QString& desktopFileName);
