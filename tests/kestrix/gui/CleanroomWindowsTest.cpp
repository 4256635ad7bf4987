#include "MainWindowFixture.h"
#include "kestrix/cleanroom/roomFile.h"
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
    const data::clsDataRecord record = [&] {
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

QPushButton* Button(QDialog& dialog, const char* text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == QLatin1String(text)) {
            return button;
        }
    }
    return nullptr;
}

TEST_F(MainWindowTest, ClassificationDialogLoadsAndSavesTheRoomAndKeepsTheTester) {
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
    QFile bad(Path("bad.room"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("[room]\nwidth=4\nlength=2.5\n[locations]\n1=5,1\n");
    bad.close();
    QFile good(Path("fill.room"));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("[room]\nname=Fill room 2\nbuilding=Building 3\nwidth=4\nlength=2.5\n"
               "[locations]\n1=0.5,0.5\n");
    good.close();
    dialogs.files = {{Path("bad.room"), 0},
                     {Path("fill.room"), 0},
                     {Path("copy.room"), 0},
                     {Path("report.json"), 2}};
    dialogs.onModal = [](QDialog& dialog) {
        Button(dialog, "&Load Room...")->click();
        Button(dialog, "&Load Room...")->click();
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("txtRoom"))->text(), "Fill room 2");
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("txtBuilding"))->text(),
                  "Building 3");
        dialog.findChild<QLineEdit*>(QStringLiteral("txtTester"))->setText("A. Tester");
        dialog.findChild<QLineEdit*>(QStringLiteral("txtSizes"))->setText("0.5");
        Button(dialog, "Sa&ve Room...")->click();
        QPushButton* save = dynamic_cast<ClassificationDialog&>(dialog).SaveButton();
        EXPECT_TRUE(save->isEnabled())
            << dialog.findChild<QLabel*>(QStringLiteral("lblPreview"))->text().toStdString();
        save->click();
    };
    window->RunCommand(window::MainCommand::CleanroomClassification);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_THAT(dialogs.messages[0].text.toStdString(), HasSubstr("lies outside the room"));
    const cleanroom::RoomFileRead copy = cleanroom::ReadRoomFile(Path("copy.room").toStdString());
    ASSERT_TRUE(copy.room) << copy.error;
    EXPECT_EQ(copy.room->Area(), 10.0);
    EXPECT_EQ(copy.room->locations.at(1).x, 0.5);
    QFile report(Path("report.json"));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const std::string json = report.readAll().toStdString();
    EXPECT_THAT(json, HasSubstr(R"("tester": "A. Tester")"));
    EXPECT_THAT(json, HasSubstr(R"("area_m2": 10.0)"));
    EXPECT_EQ(cleanroom::ReadTestingParty(store.GetConfigPath()).tester, "A. Tester");
}

TEST_F(MainWindowTest, ClassificationDialogNamesTheRecordsLeftOut) {
    // Location 7: a clean record and one with negative counts; location 8: only the latter.
    std::vector<table::testing::SampleSpec> samples(3);
    for (std::size_t i = 1; i < samples.size(); ++i) {
        samples[i].timeStamp += static_cast<double>(i) / 1440.0;
        samples[i].counts = {-5, -5, -5};
    }
    samples[2].locationId = 8;
    ASSERT_TRUE(window->TakeRecordSet(table::testing::MakeRecordSet({}, samples)));
    dialogs.onModal = [](QDialog& dialog) {
        auto& classification = dynamic_cast<ClassificationDialog&>(dialog);
        dialog.findChild<QLineEdit*>(QStringLiteral("txtSizes"))->setText("0.5");
        const std::string refused = classification.Preview()->text().toStdString();
        EXPECT_THAT(refused, HasSubstr("Location 8 (Location 008) has no usable record left"));
        EXPECT_THAT(refused,
                    HasSubstr("Record 3, location 8: impossible data: The count at 0.3 µm is -5"));
        EXPECT_FALSE(classification.SaveButton()->isEnabled());
        dialog.findChild<QLineEdit*>(QStringLiteral("txtLocations"))->setText("7");
        EXPECT_THAT(classification.Preview()->text().toStdString(),
                    HasSubstr("Record 2, location 7: impossible data: The count at 0.3 µm is -5"));
    };
    window->RunCommand(window::MainCommand::CleanroomClassification);
    ASSERT_EQ(dialogs.modalDialogs.size(), 1U);
}

} // namespace
} // namespace kestrix::gui::testing
