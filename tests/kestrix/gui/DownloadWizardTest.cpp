#include "kestrix/gui/wizards/DownloadWizard.h"

#include "MainWindowFixture.h"
#include "WizardDriver.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/calibration.h"
#include "kestrix/gui/wizards/WizardPages.h"
#include "kestrix/instrument/DownloadSession.h"
#include "kestrix/instrument/PortBinding.h"
#include "kestrix/table/tableRowKinds.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <array>
#include <fstream>
#include <pty.h>
#include <unistd.h>

namespace kestrix::gui::testing {
namespace {

class DownloadWizardTest : public MainWindowTest {
protected:
    void Start(const std::string& preset) {
        simulator = StartSimulator({"--preset", preset}, store.GetConfigPath());
        store.SetConfigValue(modConfig::kComPort, 1);
        store.SetConfigValue(modConfig::kDeviceAddress, 1);
        wizard().show();
        ASSERT_EQ(wizard().Step(), 1);
    }

    DownloadWizard& wizard() { return *window->DownloadWiz(); }

    // From the welcome to the identity shown.
    void Identify() {
        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 2);
        EXPECT_EQ(wizard().PortPage().PortList()->currentData().toInt(), 1);
        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 3);
        ASSERT_TRUE(WaitFor([this] { return wizard().NextButton()->isEnabled(); }));
    }

    void Download() {
        Identify();
        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 4);
        EXPECT_FALSE(wizard().NextButton()->isVisible());
        ASSERT_TRUE(WaitFor([this] { return LabelShown(wizard(), "lbl4Done"); }));
        EXPECT_EQ(wizard().CancelButton()->text(), "&Close");
        EXPECT_TRUE(wizard().CancelButton()->isDefault()); // Enter closes
    }

    std::unique_ptr<sim::test::SimProcess> simulator;
};

TEST_F(DownloadWizardTest, ThePortListFollowsAnAdapterPluggedInAndPulledOut) {
    Start("standard");
    Click(wizard().NextButton());
    ASSERT_EQ(wizard().Step(), 2);
    int controller = -1;
    int line = -1;
    std::array<char, 64> device{};
    ASSERT_EQ(::openpty(&controller, &line, device.data(), nullptr, nullptr), 0);
    ASSERT_TRUE(instrument::RememberPortDevice(store.GetConfigPath(), 7, device.data()));
    const auto listed = [this] { return wizard().PortPage().PortList()->findData(7) >= 0; };
    EXPECT_TRUE(WaitFor(listed)) << "plugged in";
    EXPECT_EQ(wizard().PortPage().PortList()->currentData().toInt(), 1) << "the choice stays";
    ::close(line);
    ::close(controller);
    EXPECT_TRUE(WaitFor([&] { return !listed(); })) << "pulled out";
}

TEST_F(DownloadWizardTest, AFullDownloadEndsInTheMainWindowsTable) {
    for (const auto& [preset, records] : {std::pair{"iaq-fast", 450}, {"standard", 500}}) {
        simulator = StartSimulator({"--preset", preset}, store.GetConfigPath());
        store.SetConfigValue(modConfig::kComPort, 1);
        dialogs.onModal = [this](QDialog& dialog) {
            dialog.show();
            Download();
            Click(wizard().CancelButton());
            EXPECT_FALSE(dialog.isVisible());
        };
        window->RunCommand(window::MainCommand::DownloadData);
        EXPECT_EQ(table::testing::CountRows(window->Grid(), table::kRowData), records) << preset;
        EXPECT_EQ(window->Grid().Text(1, 1).rfind("Instrument Model: ", 0), 0U);
        // Archived before it is shown, so that its table carries the head.
        EXPECT_EQ(window->RecordSet()->GetArchiveHead().rfind("event ", 0), 0U) << preset;
    }
    EXPECT_TRUE(dialogs.messages.empty());

    // File > Sign... signs the download shown, without asking for a file.
    QStringList shown;
    dialogs.onModal = [&shown](QDialog& dialog) {
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            shown << label->text();
        }
    };
    window->RunCommand(window::MainCommand::Sign);
    EXPECT_TRUE(dialogs.fileRequests.empty());
    EXPECT_TRUE(shown.contains("500 added to the archive")) << shown.join('|').toStdString();
}

TEST_F(DownloadWizardTest, APastDueCalibrationIsToldWhenTheDownloadIsDone) {
    Start("iaq-fast");
    Identify();
    const instrument::InstrumentIdentity& identity = wizard().Session().Identity();
    archive::Archive(ConfigArchive())
        .Note(archive::CalibrationNote(identity.modelName, identity.serialNumber,
                                       {"C-9", QDate(2024, 1, 2), QDate(2025, 1, 2)}));
    Click(wizard().NextButton());
    ASSERT_TRUE(WaitFor([this] { return LabelShown(wizard(), "lbl4Done"); }));
    ASSERT_TRUE(LabelShown(wizard(), "lbl4Calibration"));
    EXPECT_EQ(wizard().findChild<QLabel*>("lbl4Calibration")->text().toStdString(),
              "The instrument's calibration (certificate C-9) was due on 2025-01-02.");
}

// The next widget Tab reaches from `from`.
QWidget* TabFrom(QWidget* from) {
    QWidget* w = from->nextInFocusChain();
    while (!(w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))) {
        w = w->nextInFocusChain();
    }
    return w;
}

TEST_F(DownloadWizardTest, TheAddressListIsShortAndTabVisitsTheFieldsFirst) {
    Start("standard");
    Click(wizard().NextButton());
    ASSERT_EQ(wizard().Step(), 2);
    auto* address = wizard().findChild<QComboBox*>("cmb2Address");
    ASSERT_GT(address->count(), 12);
    address->showPopup();
    const int rows = address->view()->viewport()->height() / address->view()->sizeHintForRow(0);
    EXPECT_GE(rows, 11);
    EXPECT_LE(rows, 12);
    address->hidePopup();

    EXPECT_EQ(TabFrom(wizard().PortPage().PortList()), address);
    EXPECT_EQ(TabFrom(address), wizard().PrevButton());
    EXPECT_EQ(TabFrom(wizard().CancelButton()), wizard().PortPage().PortList());
}

TEST_F(DownloadWizardTest, AutoDetectFindsAHigherAddressAndAFixedAddressCanFindNothing) {
    std::ofstream(Path("address3.json").toStdString())
        << R"({"preset": "iaq-fast", "identity": {"address": 3}})";
    simulator =
        StartSimulator({"--scenario", Path("address3.json").toStdString()}, store.GetConfigPath());
    store.SetConfigValue(modConfig::kComPort, 1);
    store.SetConfigValue(modConfig::kDeviceAddress, 0);
    wizard().show();
    Identify();
    EXPECT_EQ(wizard().findChild<QLabel*>("lbl3Address")->text(), "3");

    Click(wizard().PrevButton());
    auto* addresses = wizard().PortPage().AddressList();
    addresses->setCurrentIndex(addresses->findData(5));
    Click(wizard().NextButton());
    ASSERT_TRUE(WaitFor([this] { return LabelShown(wizard(), "lbl3Error"); }));
    EXPECT_FALSE(wizard().NextButton()->isEnabled());
    Click(wizard().PrevButton());
    EXPECT_EQ(wizard().Step(), 2);
}

TEST_F(DownloadWizardTest, AnEmptyInstrumentHasNoDataToDownload) {
    Start("empty");
    Identify();
    Click(wizard().NextButton());
    EXPECT_TRUE(LabelShown(wizard(), "lbl4NoData"));
    EXPECT_FALSE(LabelShown(wizard(), "lbl4DoNotDoAnything"));
    EXPECT_EQ(wizard().CancelButton()->text(), "&Close");
    Click(wizard().CancelButton());
    EXPECT_FALSE(wizard().isVisible());
    EXPECT_FALSE(wizard().WasDataDownloaded());
}

TEST_F(DownloadWizardTest, CancelDuringTheDownloadAsksAndNoLetsItFinish) {
    Start("standard");
    Identify();
    Click(wizard().NextButton());
    dialogs.answers = {QMessageBox::No};
    Click(wizard().CancelButton());
    ASSERT_TRUE(WaitFor([this] { return !dialogs.messages.empty(); }));
    EXPECT_EQ(dialogs.messages[0].title, "Question");
    ASSERT_TRUE(WaitFor([this] { return LabelShown(wizard(), "lbl4Done"); }));
    EXPECT_TRUE(wizard().WasDataDownloaded());

    // After a finished download Prev goes back to the identity, and the data is gone.
    Click(wizard().PrevButton());
    EXPECT_EQ(wizard().Step(), 3);
    EXPECT_FALSE(wizard().WasDataDownloaded());
}

TEST_F(DownloadWizardTest, CancelAnsweredYesKeepsTheOldTable) {
    Start("standard");
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000", 4)));
    Identify();
    Click(wizard().NextButton());
    dialogs.answers = {QMessageBox::Yes};
    Click(wizard().CancelButton());
    ASSERT_TRUE(WaitFor([this] { return !wizard().isVisible(); }));
    EXPECT_FALSE(wizard().WasDataDownloaded());
    EXPECT_EQ(table::testing::CountRows(window->Grid(), table::kRowData), 4);
}

TEST_F(DownloadWizardTest, CancelDuringIdentificationAsksNothingAndTheCloseBoxIsCancel) {
    Start("standard");
    Click(wizard().NextButton());
    Click(wizard().NextButton());
    EXPECT_FALSE(wizard().close()); // the close box: a press of Cancel, acted on later
    ASSERT_TRUE(WaitFor([this] { return !wizard().isVisible(); }));
    EXPECT_TRUE(dialogs.messages.empty());

    // Shown again, the wizard starts over at step 1; Escape cancels it.
    wizard().show();
    EXPECT_EQ(wizard().Step(), 1);
    EXPECT_FALSE(wizard().PrevButton()->isVisible());
    QTest::keyClick(&wizard(), Qt::Key_Escape);
    EXPECT_FALSE(wizard().isVisible());
}

TEST_F(DownloadWizardTest, ASilentLineEndsInTheLostCommunicationWarning) {
    Start("standard");
    Identify();
    simulator->Stop();
    Click(wizard().NextButton());
    ASSERT_TRUE(WaitFor([this] { return !dialogs.messages.empty(); }));
    EXPECT_EQ(wizard().Step(), 2);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].title, "Warning");
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("Instrument communications has been lost!"));
}

} // namespace
} // namespace kestrix::gui::testing
