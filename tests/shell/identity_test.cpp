// How the desktop tells the program's windows apart: the entry they belong to and the icon they show.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>

#include "common/program_identity.h"

namespace {

TEST(ProgramIdentity, NamesTheDesktopEntryAndGivesEveryWindowTheBuiltInIcon) {
    const QString name = QGuiApplication::applicationName();
    setProgramIdentity("tolvane-demo");

    EXPECT_EQ(QGuiApplication::desktopFileName(), "tolvane-demo");
    EXPECT_EQ(QGuiApplication::applicationName(), "Tolvane");
    const QIcon icon = QGuiApplication::windowIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
    const QImage small = icon.pixmap(32).toImage();
    ASSERT_FALSE(small.isNull()) << "the pictures are built into the program";
    EXPECT_EQ(small.pixelColor(16, 16), QColor(0xf5, 0xb0, 0x2e)) << "the sun's middle";

    QGuiApplication::setApplicationName(name);
    QGuiApplication::setDesktopFileName({});
    QGuiApplication::setWindowIcon({});
}

}  // namespace
