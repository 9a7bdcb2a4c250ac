// The About window: its captions, one window however often it is asked for, and how it closes.
#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "shell/frmAbout2.h"
#include "tests/support/rig.h"

namespace {

TEST(About, OneWindowShowsTitleVersionAndDisclaimers) {
    Rig rig;
    rig.program.showAbout();
    frmAbout2* about = rig.program.about();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About Tolvane");
    EXPECT_EQ(about->lblTitle->text(), "Tolvane");
    EXPECT_EQ(about->lblVersion->text(), "Version 3.0.0");
    EXPECT_TRUE(about->lblDescription->text().isEmpty());
    EXPECT_EQ(about->lblDisclaimer[0]->text(), "ACCURACY OF INFORMATION");
    EXPECT_EQ(about->lblDisclaimer[1]->text(),
              "Please review license.txt file in the installation directory.");
    EXPECT_EQ(about->cmdOK->text(), "OK");
    EXPECT_FALSE(about->picPellionLogo->pixmap().isNull());
    EXPECT_FALSE(about->isModal());

    rig.program.showAbout();  // a second request shows the same window
    EXPECT_EQ(rig.program.about(), about);
    EXPECT_TRUE(about->isVisible());
    rig.program.unloadAbout();
}

TEST(About, EnterEscapeOkAndTheCloseBoxEachUnloadIt) {
    Rig rig;
    const auto closes = [&rig](const std::function<void(frmAbout2&)>& press) {
        rig.program.showAbout();
        const QPointer<frmAbout2> about = rig.program.about();
        press(*about);
        return !rig.program.hasAbout() && (about.isNull() || !about->isVisible());
    };
    EXPECT_TRUE(closes([](frmAbout2& a) { QTest::keyClick(&a, Qt::Key_Return); }));
    EXPECT_TRUE(closes([](frmAbout2& a) { QTest::keyClick(&a, Qt::Key_Escape); }));
    EXPECT_TRUE(closes([](frmAbout2& a) { QTest::mouseClick(a.cmdOK, Qt::LeftButton); }));
    EXPECT_TRUE(closes([](frmAbout2& a) { a.close(); }));
    EXPECT_FALSE(rig.exit.requested());
}

}  // namespace
