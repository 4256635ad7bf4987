#include "kestrix/gui/iaq/IaqReportDialog.h"

#include "MainWindowFixture.h"
#include "kestrix/iaq/IaqExample.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gmock/gmock.h>

namespace kestrix::gui::testing {
namespace {

using ::testing::HasSubstr;

TEST_F(MainWindowTest, IaqReportIsOfferedForIaqRecordSetsOnly) {
    QAction* entry = window->Action(window::MainCommand::IaqReport);
    EXPECT_FALSE(entry->isEnabled());
    ASSERT_TRUE(window->TakeRecordSet(iaq::testing::MakeIaqRecordSet()));
    EXPECT_TRUE(entry->isEnabled());
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
    EXPECT_FALSE(entry->isEnabled());
    window->RunCommand(window::MainCommand::IaqReport);
    EXPECT_TRUE(dialogs.modalDialogs.empty());
}

TEST_F(MainWindowTest, IaqReportShowsTheDaysInTheirColoursAndSavesThem) {
    std::shared_ptr<data::clsDataRecordSet> set = iaq::testing::MakeIaqRecordSet();
    const iaq::IaqReport report = *iaq::testing::ComputeNamed(*set).report;
    ASSERT_TRUE(window->TakeRecordSet(set));
    dialogs.files.push_back({Path("air.csv"), 2});
    dialogs.onModal = [&](QDialog& dialog) {
        auto& iaqDialog = dynamic_cast<IaqReportDialog&>(dialog);
        QTableWidget* days = iaqDialog.Days();
        ASSERT_EQ(days->rowCount(), static_cast<int>(report.days.size()));
        for (int row = 0; row < days->rowCount(); ++row) {
            const iaq::IaqDay& day = report.days[static_cast<std::size_t>(row)];
            EXPECT_EQ(days->item(row, 0)->text().toStdString(), day.date);
            const table::Rgb color = iaq::CategoryColor(day.index.overall->overall.category);
            EXPECT_EQ(days->item(row, 6)->background().color(),
                      QColor(color.red, color.green, color.blue));
        }
        EXPECT_THAT(iaqDialog.Summary()->text().toStdString(), HasSubstr("Complete days: 2 of 3"));

        auto* locations = dialog.findChild<QLineEdit*>(QStringLiteral("txtLocations"));
        locations->setText(QStringLiteral("9"));
        EXPECT_EQ(days->rowCount(), 0);
        EXPECT_FALSE(iaqDialog.SaveButton()->isEnabled());
        EXPECT_THAT(iaqDialog.Summary()->text().toStdString(), HasSubstr("no records"));
        locations->setText(QStringLiteral("2"));
        EXPECT_EQ(days->item(0, 1)->text(), QStringLiteral("6"));
        iaqDialog.SaveButton()->click();
    };
    window->RunCommand(window::MainCommand::IaqReport);
    ASSERT_EQ(dialogs.modalDialogs.size(), 1U);
    EXPECT_TRUE(QFile::exists(Path("air.csv")));
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace kestrix::gui::testing
