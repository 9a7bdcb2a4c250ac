#include "platform/busy_indicator.h"

#include <QCursor>
#include <QGuiApplication>

// Qt keeps override cursors on a stack, so nested waits restore in order.
void WaitCursor::show() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void WaitCursor::restore() {
    QGuiApplication::restoreOverrideCursor();
}
