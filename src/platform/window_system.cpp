#include "platform/window_system.h"

#include <QByteArray>
#include <QtGlobal>

void prepareWindowSystem() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
}
