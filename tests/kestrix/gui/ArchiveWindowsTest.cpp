// The window's side of the archive: File > Open from Archive with its dialog, what the user
// does with the data noted in the audit trail, and the trail reviewed in Tools > Audit Trail.

#include "MainWindowFixture.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/eventListing.h"
#include "kestrix/gui/main/ArchiveDialog.h"
#include "kestrix/gui/main/AuditTrailDialog.h"
#include "kestrix/gui/main/InstrumentsDialog.h"
#include "kestrix/table/tableRowKinds.h"
#include "kestrix/window/mainCommands.h"
#include "support/FileBytes.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
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

TEST_F(ArchiveWindowTest, AKeptCalibrationIsNotedAndAPastDueOneIsMarked) {
    archive::Archive(ConfigArchive())
        .Store(*SmallRecordSet("Model 9", 5), {archive::kEventDownload, 150});
    QStringList before;
    QStringList after;
    QString warning;
    dialogs.onModal = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<InstrumentsDialog&>(shown);
        before = Row(dialog.InstrumentList()->topLevelItem(0));
        EXPECT_FALSE(dialog.KeepButton()->isEnabled()) << "no certificate yet";
        dialog.CertificateBox()->setText("C-7");
        dialog.DateBox()->setDate(QDate(2025, 1, 1));
        dialog.DueBox()->setDate(QDate(2025, 6, 30));
        dialog.KeepButton()->click();
        after = Row(dialog.InstrumentList()->topLevelItem(0));
        warning = dialog.InstrumentList()->topLevelItem(0)->toolTip(0);
    };
    window->RunCommand(window::MainCommand::Instruments);
    EXPECT_EQ(before, QStringList({"Model 9", "4711", "5", "-", "-", "-"}));
    EXPECT_EQ(after, QStringList({"Model 9", "4711", "5", "C-7", "2025-01-01", "2025-06-30"}));
    EXPECT_THAT(warning.toStdString(), HasSubstr("was due on 2025-06-30"));
    const std::vector<archive::EventEntry> events = ArchivedEvents();
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[1].event.kind, archive::kEventCalibration);
}

// A report signed on another workstation by a reviewer.
void AppendSignature(archive::Archive& archive) {
    archive::WriteTransaction transaction(archive.Database());
    archive::ArchiveEvent signature;
    signature.kind = archive::kEventSignature;
    signature.userName = "qa_lead";
    signature.fullName = "Quinn Lead";
    signature.details = R"({"signed":"file","file":"report.pdf","sha256":"0123456789abcdef0123",)"
                        R"("meaning":"approved","comment":"released"})";
    archive::AppendEvent(archive.Database(), signature);
    transaction.Commit();
}

QStringList Column(const QTreeWidget& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        texts << list.topLevelItem(row)->text(column);
    }
    return texts;
}

void Choose(QComboBox& box, const QString& text) {
    box.setCurrentIndex(box.findText(text));
}

TEST_F(ArchiveWindowTest, TheAuditTrailChoosesEventsAndVerifiesTheChain) {
    {
        archive::Archive archive(ConfigArchive());
        archive.Store(*SmallRecordSet("Model 9", 5), {archive::kEventDownload, 150});
        archive.Note(archive::NameUploadNote("Model 9", 4711, 5));
        AppendSignature(archive);
    }
    const std::vector<archive::EventEntry> events = ArchivedEvents();
    const QString me = QString::fromStdString(archive::CurrentUserName());
    dialogs.files = {{Path("trail.pdf"), 0}};
    dialogs.onModal = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<AuditTrailDialog&>(shown);
        struct FilterCase {
            QString kind;
            QString user;
            QString instrument;
            QStringList kinds;
        };
        const FilterCase cases[] = {
            {"All", "All", "All", {"download", "name upload", "signature"}},
            {"signature", "All", "All", {"signature"}},
            {"All", me, "All", {"download", "name upload"}},
            {"All", "qa_lead", "All", {"signature"}},
            {"download", "qa_lead", "All", {}},
            {"All", "All", "Model 9 #4711", {"download", "name upload"}},
        };
        for (const FilterCase& c : cases) {
            SCOPED_TRACE((c.kind + " " + c.user + " " + c.instrument).toStdString());
            Choose(*dialog.KindBox(), c.kind);
            Choose(*dialog.UserBox(), c.user);
            Choose(*dialog.InstrumentBox(), c.instrument);
            EXPECT_EQ(Column(*dialog.EventList(), archive::kEventKind), c.kinds);
        }
        Choose(*dialog.KindBox(), "signature");
        Choose(*dialog.InstrumentBox(), "All");
        EXPECT_EQ(Column(*dialog.EventList(), archive::kEventFullName),
                  QStringList({"Quinn Lead"}));
        EXPECT_THAT(dialog.EventList()->topLevelItem(0)->text(archive::kEventDetails).toStdString(),
                    ::testing::StartsWith("approved: file report.pdf, sha256: 0123456789ab"));

        dialog.VerifyButton()->click();
        EXPECT_THAT(dialog.Verdict()->text().toStdString(), HasSubstr("Intact: 3 events"));
        EXPECT_EQ(dialog.HeadBox()->text().toStdString(), "event 3 sha256:" + events[2].event.hash);
        dialog.KeptHeadBox()->setText("event 3 sha256:" + QString(64, '0'));
        dialog.VerifyButton()->click();
        EXPECT_THAT(dialog.Verdict()->text().toStdString(), HasSubstr("Damaged"));
        EXPECT_TRUE(dialog.HeadBox()->text().isEmpty());

        dialog.SavePdfButton()->click();
    };
    window->RunCommand(window::MainCommand::AuditTrail);
    ASSERT_EQ(dialogs.modalDialogs.size(), 1U);
    EXPECT_THAT(test_support::ReadFileBytes(Path("trail.pdf").toStdString()),
                ::testing::StartsWith("%PDF"));
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace kestrix::gui::testing
