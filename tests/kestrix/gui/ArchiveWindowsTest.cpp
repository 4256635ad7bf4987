// The window's side of the archive: File > Open from Archive with its dialog, and what the user
// does with the data noted in the audit trail.

#include "MainWindowFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/gui/main/ArchiveDialog.h"
#include "kestrix/table/tableRowKinds.h"
#include "kestrix/window/mainCommands.h"
#include "support/FileBytes.h"

#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <gmock/gmock.h>

namespace kestrix::gui::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr base::DateTime kMarchFirst = 46082.0; // 2026-03-01 00:00:00

std::vector<archive::InstrumentSummary> TwoInstruments() {
    return {{"Model 9",
             7,
             20,
             2,
             kMarchFirst,
             kMarchFirst + 1,
             {1, 2, 3},
             {"Entrance", "LOC002", "Gowning"}},
            {"Model 4", 3, 5, 1, kMarchFirst + 10, kMarchFirst + 11, {4}, {"LOC004"}}};
}

QStringList Row(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int column = 0; column < item->columnCount(); ++column) {
        texts << item->text(column);
    }
    return texts;
}

QStringList LocationTexts(const ArchiveDialog& dialog) {
    QStringList texts;
    for (int i = 0; i < dialog.LocationList()->count(); ++i) {
        texts << dialog.LocationList()->item(i)->text();
    }
    return texts;
}

class ArchiveDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }
};

TEST_F(ArchiveDialogTest, TheChoiceFollowsInstrumentRangeAndLocations) {
    ArchiveDialog dialog(TwoInstruments());
    EXPECT_EQ(
        Row(dialog.InstrumentList()->topLevelItem(0)),
        QStringList({"Model 9", "7", "20", "2", "2026-03-01 00:00:00", "2026-03-02 00:00:00"}));
    EXPECT_EQ(LocationTexts(dialog), QStringList({"Entrance", "LOC002", "Gowning"}));
    archive::RecordQuery choice = dialog.Choice();
    EXPECT_EQ(choice.serial, 7);
    EXPECT_EQ(choice.model, "Model 9");
    EXPECT_EQ(choice.from, kMarchFirst);
    EXPECT_EQ(choice.to, kMarchFirst + 1);
    EXPECT_TRUE(choice.locations.empty()) << "every location";

    dialog.LocationList()->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_THAT(dialog.Choice().locations, ElementsAre(1, 3));

    dialog.InstrumentList()->setCurrentItem(dialog.InstrumentList()->topLevelItem(1));
    choice = dialog.Choice();
    EXPECT_EQ(choice.serial, 3);
    EXPECT_EQ(choice.from, kMarchFirst + 10);
    EXPECT_EQ(LocationTexts(dialog), QStringList({"LOC004"}));
    EXPECT_TRUE(choice.locations.empty());
}

TEST_F(ArchiveDialogTest, OpenWaitsForALocationAndARangeThatRunsForwards) {
    ArchiveDialog dialog(TwoInstruments());
    QPushButton* open = dialog.OpenButton();
    EXPECT_TRUE(open->isEnabled());
    dialog.findChild<QPushButton*>("cmdSelectNone")->click();
    EXPECT_FALSE(open->isEnabled()) << "no location: not every location";
    dialog.LocationList()->item(2)->setCheckState(Qt::Checked);
    EXPECT_TRUE(open->isEnabled());
    EXPECT_THAT(dialog.Choice().locations, ElementsAre(3));
    dialog.findChild<QPushButton*>("cmdSelectAll")->click();
    EXPECT_TRUE(dialog.Choice().locations.empty());
    dialog.FromBox()->setDateTime(dialog.ToBox()->dateTime().addSecs(1));
    EXPECT_FALSE(open->isEnabled());
    dialog.FromBox()->setDateTime(dialog.ToBox()->dateTime());
    EXPECT_TRUE(open->isEnabled());

    EXPECT_FALSE(ArchiveDialog({}).OpenButton()->isEnabled());
}

class ArchiveWindowTest : public MainWindowTest {};

TEST_F(ArchiveWindowTest, OpenFromArchiveShowsTheChosenRecordsAndSavingThemIsNoted) {
    archive::Archive(ConfigArchive())
        .Store(*SmallRecordSet("Model 9", 5), {archive::kEventDownload, 150});
    dialogs.onModal = [](QDialog& shown) {
        auto& dialog = dynamic_cast<ArchiveDialog&>(shown);
        dialog.LocationList()->item(1)->setCheckState(Qt::Unchecked);
        dialog.accept();
    };
    window->RunCommand(window::MainCommand::OpenFromArchive);
    ASSERT_TRUE(window->HasData());
    EXPECT_EQ(window->RecordSet()->RecordCount(), 4);
    EXPECT_EQ(table::testing::CountRows(window->Grid(), table::kRowData), 4);

    dialogs.files = {{Path("table.csv"), 2}};
    window->RunCommand(window::MainCommand::SaveTableAs);
    const std::vector<archive::EventEntry> events = ArchivedEvents();
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[1].event.kind, "export");
    EXPECT_EQ(events[1].serial, 4711);
    EXPECT_THAT(events[1].event.details, HasSubstr(Path("table.csv").toStdString()));
    // The head the records were read at: the download's event.
    EXPECT_THAT(test_support::ReadFileBytes(Path("table.csv").toStdString()),
                HasSubstr("Archive Head: event 1 sha256:" + events[0].event.hash));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ArchiveWindowTest, AnArchiveThatCannotNoteTheSaveIsToldAndTheFileStands) {
    window->TakeRecordSet(SmallRecordSet("Model 9", 3));
    test_support::WriteFileBytes(Path("archive.sqlite").toStdString(), std::string(8192, 'x'));
    dialogs.files = {{Path("table.csv"), 2}};
    window->RunCommand(window::MainCommand::SaveTableAs);
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Warning);
    EXPECT_THAT(dialogs.messages[0].detail.toStdString(), HasSubstr("did not note the export"));
    EXPECT_THAT(test_support::ReadFileBytes(Path("table.csv").toStdString()),
                HasSubstr("Timestamp"));
}

} // namespace
} // namespace kestrix::gui::testing
