#include "kestrix/gui/main/AboutDialog.h"

#include "MainWindowFixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
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

    // Laid out as the file lays it out, in a fixed-width font: a licence's usual 80 columns are
    // seen whole, a longer line stays one line and scrolls sideways.
    for (const int columns : {80, 200}) {
        const std::string line(static_cast<std::size_t>(columns), 'x');
        std::ofstream(Path("license.txt").toStdString()) << "MIT License\nText\n" << line << "\n";
        OpenWindow();
        window->About()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window->About()));
        EXPECT_EQ(window->About()->LicenseText(),
                  QString::fromStdString("MIT License\nText\n" + line));
        auto* text = window->About()->findChild<QPlainTextEdit*>("txtLicense");
        EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());
        for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
            EXPECT_EQ(block.layout()->lineCount(), 1) << columns;
        }
        EXPECT_EQ(text->horizontalScrollBar()->maximum() > 0, columns > 80) << columns;
    }
}

} // namespace
} // namespace kestrix::gui::testing
