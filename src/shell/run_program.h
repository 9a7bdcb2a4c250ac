#pragma once

#include <QString>

#include "boardlink/hid_transport.h"
#include "platform/clock.h"

class QWidget;

// Runs one program on the given board transport until it ends, its windows known to the desktop by
// the given desktop entry; `companion`, if any, is placed beside the panel when it opens. Needs a
// QApplication.
int runProgram(HidTransport& transport, Clock& clock, const QString& desktopFileName,
               QWidget* companion = nullptr);
