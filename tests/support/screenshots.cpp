#include "tests/support/screenshots.h"

#include <QDir>
#include <QTemporaryDir>

QString screenshotPath(const QString& fileName) {
    const QString named = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (!named.isEmpty()) {
        QDir().mkpath(named);
        return QDir(named).filePath(fileName);
    }
    static QTemporaryDir scratch;
    return scratch.filePath(fileName);
}
