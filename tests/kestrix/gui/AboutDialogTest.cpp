#include "kestrix/gui/main/AboutDialog.h"

#include "MainWindowFixture.h"

#include <QLabel>
#include <QTest>
#include <fstream>

namespace kestrix::gui::testing {
namespace {

TEST_F(MainWindowTest, AboutShowsTheVersionAtAClickAndTheLicence) {
    window->RunCommand(window::MainCommand::ShowAbout);
    ASSERT_EQ(dialogs.modalDialogs.size(), 1U);
    AboutDialog& about = *window->About();
    EXPECT_EQ(about.LicenseText(), "Error loading license agreement!\n");

    auto* version = about.findChild<QLabel*>("lblVersion");
    EXPECT_EQ(version->text(), "1.6");
    QTest::mouseClick(version, Qt::LeftButton);
    EXPECT_EQ(version->text(), "1.6.02");
    QTest::mouseClick(version, Qt::LeftButton);
    EXPECT_EQ(version->text(), "1.6");

    std::ofstream(Path("license.txt").toStdString()) << "MIT License\nText\n";
    OpenWindow();
    EXPECT_EQ(window->About()->LicenseText(), "MIT License\nText");
}

} // namespace
} // namespace kestrix::gui::testing
