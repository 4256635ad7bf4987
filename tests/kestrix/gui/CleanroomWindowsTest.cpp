#include "MainWindowFixture.h"
#include "kestrix/gui/cleanroom/ClassificationDialog.h"
#include "kestrix/gui/cleanroom/DataChecksPane.h"
#include "kestrix/gui/main/GridView.h"
#include "kestrix/table/recordRows.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <gmock/gmock.h>

namespace kestrix::gui::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(MainWindowTest, ActivatingAFindingSelectsItsRecordsRow) {
    auto set = SmallRecordSet("Counter 5000", 4);
    table::testing::SampleSpec flagged;
    flagged.timeStamp += 3 / 1440.0;
    flagged.sampleTimeStatus = 0x02;
    const clsDataRecord record = [&] {
        auto one = table::testing::MakeRecordSet({}, {flagged});
        return *one->Record(0);
    }();
    set->RecordCopy(3, &record);
    ASSERT_TRUE(window->TakeRecordSet(set));
    window->RunCommand(window::MainCommand::ToggleDataChecks);
    QTableWidget* list = window->DataChecks()->List();
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text(), "4");

    emit list->itemActivated(list->item(0, 2));
    const int gridRow = table::GridRowOfRecord(window->Grid(), 3);
    const QModelIndex current = window->View()->ScrollingView()->currentIndex();
    EXPECT_EQ(current.row(), gridRow - 1 - window->Grid().FrozenRows());
}

TEST_F(MainWindowTest, ClassificationDialogPreviewsAndSavesTheReport) {
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
    dialogs.files.push_back({Path("room.json"), 2});
    dialogs.onModal = [](QDialog& dialog) {
        auto& classification = dynamic_cast<ClassificationDialog&>(dialog);
        auto* sizes = dialog.findChild<QLineEdit*>(QStringLiteral("txtSizes"));
        sizes->setText(QStringLiteral("0.7"));
        EXPECT_THAT(classification.Preview()->text().toStdString(),
                    HasSubstr("channels are 0.3, 0.5, 1.0 µm"));
        EXPECT_FALSE(classification.SaveButton()->isEnabled());
        sizes->setText(QStringLiteral("0.5"));
        EXPECT_THAT(classification.Preview()->text().toStdString(),
                    HasSubstr("ISO Class 7, 3 location(s)"));
        classification.SaveButton()->click();
    };
    window->RunCommand(window::MainCommand::CleanroomClassification);
    ASSERT_EQ(dialogs.modalDialogs.size(), 1U);
    EXPECT_TRUE(QFile::exists(Path("room.json")));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_THAT(ArchivedKinds(), ElementsAre("classification report"));
}

} // namespace
} // namespace kestrix::gui::testing
