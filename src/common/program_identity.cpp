#include "common/program_identity.h"

#include <QGuiApplication>
#include <QIcon>

void setProgramIdentity(const QString& desktopFileName) {
    QGuiApplication::setApplicationName(kProgramTitle);
    QGuiApplication::setDesktopFileName(desktopFileName);
    // The installed theme icon's own pictures, built in: the window shows it even when run from the build.
    QIcon icon;
    for (int size : {32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/tolvane-%1.png").arg(size), QSize(size, size));
    }
    QGuiApplication::setWindowIcon(icon);
}
