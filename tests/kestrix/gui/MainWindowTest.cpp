#include "MainWindowFixture.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/gui/main/ConfigBar.h"
#include "kestrix/gui/main/GridView.h"
#include "kestrix/table/tableRowKinds.h"
#include "kestrix/window/mainCommands.h"
#include "support/FileBytes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <fstream>
#include <gmock/gmock.h>
#include <map>
#include <sys/stat.h>

namespace kestrix::gui::testing {
namespace {

using ::testing::HasSubstr;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

TEST_F(MainWindowTest, MenusAndToolbarAreBuiltInOrderWithTheirTexts) {
    QStringList menus;
    QStringList entries;
    for (QAction* menu : window->menuBar()->actions()) {
        menus << menu->text();
        for (QAction* entry : menu->menu()->actions()) {
            entries << (entry->isSeparator() ? QStringLiteral("-")
                                             : entry->objectName() + "=" + entry->text());
        }
    }
    EXPECT_EQ(menus, QStringList({"&File", "&Tools", "&View", "&Help"}));
    EXPECT_EQ(entries.join(' '),
              "mnuSaveAs=&Save As... mnuPrint=&Print... mnuPrintPreview=Print Pre&view... "
              "mnuOpenRecordSet=Ope&n Downloaded Data... "
              "mnuOpenArchive=Open from A&rchive... "
              "mnuSaveRecordSet=Save &Downloaded Data As... mnuSign=S&ign... - "
              "mnuSaveLocations=S&ave Location Names As... "
              "mnuLoadLocations=&Open Location Names From... - mnuExit=E&xit "
              "mnuDownload=&Download Data... mnuSetupIAQ=Setup &IAQ Instrument... "
              "mnuLocations=Setup My &Locations... mnuUploadLocations=&Upload Locations... - "
              "mnuClassification=Cleanroom &Classification Report... mnuIaqReport=IAQ &Report... - "
              "mnuInstruments=I&nstruments... mnuAuditTrail=&Audit Trail... "
              "mnuConfigBar=Show &Configuration Bar mnuDataChecks=Show &Data Checks "
              "mnuCharts=Show C&harts "
              "mnuWebsite=Orvenda &Website "
              "mnuManual=&Manual... mnuAbout=&About...");

    // Separators group the buttons as the menus group their entries.
    QStringList order;
    QStringList buttons;
    for (QAction* action : window->Toolbar()->actions()) {
        order << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        if (action->isSeparator()) {
            continue;
        }
        buttons << action->objectName() + "|" + action->toolTip() + "|" + action->statusTip();
        EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
    }
    EXPECT_EQ(order.join(' '), "mnuSaveAs mnuPrint - mnuDownload mnuLocations mnuUploadLocations "
                               "- mnuConfigBar mnuCharts mnuWebsite - mnuManual mnuAbout");
    QStringList expected;
    for (const window::MainCommand command : window::ToolbarCommands()) {
        const window::CommandInfo& info = window::Info(command);
        expected << Q(info.key) + "|" + Q(info.tooltip) + "|" + Q(info.description);
    }
    EXPECT_EQ(buttons, expected);
    EXPECT_EQ(buttons.value(7), "mnuWebsite|Go to Orvenda' website|Go to Orvenda' website.");

    for (const auto& [command, key] : {std::pair{window::MainCommand::OpenRecordSet, "Ctrl+O"},
                                       {window::MainCommand::SaveTableAs, "Ctrl+S"},
                                       {window::MainCommand::PrintTable, "Ctrl+P"}}) {
        EXPECT_EQ(window->Action(command)->shortcut().toString(), key);
    }
}

TEST_F(MainWindowTest, TheEmptyTableShowsAHintTillDataIsLoaded) {
    window->show();
    const QLabel& hint = *window->View()->Hint();
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.text(), "No data yet. Choose Tools > Download Data... or File > Open "
                           "Downloaded Data...");
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
    EXPECT_FALSE(hint.isVisible());
    const int average = table::testing::FindRow(window->Grid(), table::kRowAverage);
    EXPECT_TRUE(window->Grid().HoldsNumber(window->Grid().ColumnCount(), average));
}

TEST_F(MainWindowTest, ClosingAsksOnlyWhileDataIsLoaded) {
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(dialogs.messages.empty());

    window->show();
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
    dialogs.answers = {QMessageBox::No};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, "Are you sure you want to close this program?\n"
                                        "(All downloaded data will be lost!)");
    EXPECT_EQ(dialogs.messages[0].title, "Warning");
    EXPECT_EQ(dialogs.messages[0].defaultButton, QMessageBox::No); // Enter keeps the data
    EXPECT_TRUE(window->HasData());
    dialogs.answers = {QMessageBox::Yes};
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, EveryBadStoredSettingStartsTheWindowWithItsDefault) {
    for (const bool numbers : {false, true}) {
        std::map<std::string_view, std::string> sections;
        for (const modConfig::SettingDefinition* setting : modConfig::AllSettings()) {
            const std::string value = numbers ? std::to_string(setting->max + 1LL) : "abc";
            sections[setting->section] += std::string(setting->key) + "=" + value + "\n";
        }
        std::string text;
        for (const auto& [section, keys] : sections) {
            text += "[" + std::string(section) + "]\n" + keys;
        }
        test_support::WriteFileBytes(Path("bad.ini").toStdString(), text);
        window.reset();
        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(store.LoadConfig(Path("bad.ini").toStdString()));
        const std::string notes = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(notes.begin(), notes.end(), '\n'), modConfig::kSettingCount);
        OpenWindow();
        window->show();
        QApplication::processEvents();
        ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
        for (const modConfig::SettingDefinition* setting : modConfig::AllSettings()) {
            EXPECT_EQ(store.GetConfigValue(setting->number), setting->defaultValue) << setting->key;
        }
    }
}

TEST_F(MainWindowTest, SaveAsWritesTheChosenFormatAndAddsItsExtension) {
    struct Case {
        int filter;
        QString typed;
        QString written;
        const char* content;
    };
    const Case cases[] = {
        {0, "table", "table.xlsx", "PK"},
        {1, "page", "page.html", "<table"},
        {2, "values", "values.csv", "Timestamp"},
        {2, "named.txt", "named.txt", "Timestamp"},
    };
    for (const Case& c : cases) {
        dialogs.files = {{Path(c.typed), c.filter}};
        window->RunCommand(window::MainCommand::SaveTableAs);
        const std::string bytes = test_support::ReadFileBytes(Path(c.written).toStdString());
        EXPECT_THAT(bytes, HasSubstr(c.content)) << c.written.toStdString();
    }
    EXPECT_EQ(dialogs.fileRequests.back().filters,
              QStringList({"Excel File (*.xlsx)", "HTML File (*.html *.htm)", "CSV File (*.csv)"}));
    EXPECT_TRUE(dialogs.messages.empty());

    window->RunCommand(window::MainCommand::SaveTableAs); // cancelled: nothing happens
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.files = {{Path("missing-folder/table.csv"), 2}};
    window->RunCommand(window::MainCommand::SaveTableAs);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].title, "File Error!");
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Critical);
    EXPECT_FALSE(dialogs.messages[0].detail.isEmpty());
}

TEST_F(MainWindowTest, ViewOptionsStoreTheirSettingAndKeepTheScrollPosition) {
    window->resize(900, 500);
    window->show();
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000", 400)));
    GridView& view = *window->View();
    ASSERT_TRUE(view.ScrollTo({150, 0}));
    const int firstRow = view.FirstVisibleCell().row;

    auto* norm = window->Bar()->findChild<QCheckBox*>("chkShowPartNorm");
    const int columns = window->Grid().ColumnCount();
    norm->click();
    EXPECT_EQ(store.GetConfigValue(modConfig::kShowParticleNorm), 1);
    EXPECT_GT(window->Grid().ColumnCount(), columns);
    EXPECT_EQ(view.FirstVisibleCell().row, firstRow);

    auto* temperature = window->Bar()->findChild<QComboBox*>("cmbUnitsTemperature");
    temperature->setCurrentIndex(temperature->findText("Celsius"));
    EXPECT_EQ(store.GetConfigValue(modConfig::kUnitTemperature), modUnits::kUnitCelsius);
    auto* source = window->Bar()->findChild<QComboBox*>("cmbLocNameSource");
    source->setCurrentIndex(2);
    EXPECT_EQ(store.GetConfigValue(modConfig::kLocationNameSource), 2);
    EXPECT_EQ(view.FirstVisibleCell().row, firstRow);
}

// The menu entry and the toolbar button are one action: both show its state.
bool CheckedInMenuAndToolbar(MainWindow& window, window::MainCommand command) {
    QAction* action = window.Action(command);
    const auto* button = qobject_cast<QToolButton*>(window.Toolbar()->widgetForAction(action));
    EXPECT_TRUE(button != nullptr);
    EXPECT_TRUE(window.menuBar()->findChild<QMenu*>("mnuView")->actions().contains(action));
    EXPECT_EQ(button && button->isChecked(), action->isChecked());
    return action->isChecked();
}

TEST_F(MainWindowTest, TheBarIsToggledFromMenuAndToolbarAndRemembered) {
    window->show();
    const auto command = window::MainCommand::ToggleConfigBar;
    EXPECT_TRUE(CheckedInMenuAndToolbar(*window, command));

    window->Action(command)->trigger();
    EXPECT_FALSE(window->Bar()->isVisible());
    EXPECT_FALSE(CheckedInMenuAndToolbar(*window, command));
    EXPECT_EQ(store.GetConfigValue(modConfig::kShowConfigBar), 0);

    qobject_cast<QToolButton*>(window->Toolbar()->widgetForAction(window->Action(command)))
        ->click();
    EXPECT_TRUE(window->Bar()->isVisible());
    EXPECT_TRUE(CheckedInMenuAndToolbar(*window, command));
    EXPECT_EQ(store.GetConfigValue(modConfig::kShowConfigBar), 1);
}

TEST_F(MainWindowTest, RecordSetFilesOpenSaveAndAreRefusedWhenBroken) {
    window->show();
    auto recordSet = SmallRecordSet("Monitor iaq 3", 5);
    std::string error;
    ASSERT_TRUE(data::WriteRecordSetJson(*recordSet, Path("five.json").toStdString(), error))
        << error;

    dialogs.files = {{Path("five.json"), 0}};
    window->RunCommand(window::MainCommand::OpenRecordSet);
    ASSERT_TRUE(window->HasData());
    EXPECT_EQ(table::testing::CountRows(window->Grid(), table::kRowData), 5);
    EXPECT_EQ(window->windowTitle(), "Kestrix - five.json");

    dialogs.files = {{Path("copy"), 0}};
    window->RunCommand(window::MainCommand::SaveRecordSetAs);
    EXPECT_EQ(test_support::ReadFileBytes(Path("copy.json").toStdString()),
              test_support::ReadFileBytes(Path("five.json").toStdString()));

    std::ofstream(Path("broken.json").toStdString())
        << R"({"format": "kestrix-record-set", "version": 1)";
    dialogs.files = {{Path("broken.json"), 0}};
    window->RunCommand(window::MainCommand::OpenRecordSet);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_THAT(dialogs.messages[0].text.toStdString(), HasSubstr("broken.json"));
    EXPECT_FALSE(dialogs.messages[0].detail.isEmpty());
    EXPECT_EQ(table::testing::CountRows(window->Grid(), table::kRowData), 5);
    EXPECT_EQ(window->windowTitle(), "Kestrix - five.json");

    // A FIFO without a writer would block the window: refused before it is opened.
    ASSERT_EQ(::mkfifo(Path("fifo.json").toLocal8Bit().constData(), 0600), 0);
    dialogs.files = {{Path("fifo.json"), 0}};
    window->RunCommand(window::MainCommand::OpenRecordSet);
    ASSERT_EQ(dialogs.messages.size(), 2U);
    EXPECT_THAT(dialogs.messages[1].text.toStdString(), HasSubstr("fifo.json"));
    EXPECT_THAT(dialogs.messages[1].detail.toStdString(),
                HasSubstr("it is a FIFO, not a regular file"));
    EXPECT_EQ(table::testing::CountRows(window->Grid(), table::kRowData), 5);

    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Dastel 9304 IAQ")));
    EXPECT_EQ(window->windowTitle(), "Kestrix - Dastel 9304 IAQ 000004711");
}

TEST_F(MainWindowTest, PrintingGoesToTheChosenPrinterAndCancelPrintsNothing) {
    dialogs.printFile = Path("printed.pdf");
    window->RunCommand(window::MainCommand::PrintTable);
    EXPECT_FALSE(QFileInfo::exists(dialogs.printFile));

    dialogs.printerChosen = true;
    window->Action(window::MainCommand::PrintTable)->trigger();
    EXPECT_EQ(test_support::ReadFileBytes(dialogs.printFile.toStdString()).rfind("%PDF", 0), 0U);
    window->RunCommand(window::MainCommand::PrintPreview);
    EXPECT_EQ(dialogs.printPreviews, 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, HelpAndWebsiteOpenWithTheDesktop) {
    window->RunCommand(window::MainCommand::OpenManual);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_THAT(dialogs.messages[0].text.toStdString(),
                HasSubstr(Path("Kestrix.pdf").toStdString()));

    std::ofstream(Path("Kestrix.pdf").toStdString()) << "%PDF-1.4\n";
    window->Action(window::MainCommand::OpenManual)->trigger();
    window->Action(window::MainCommand::OpenWebsite)->trigger();
    ASSERT_EQ(dialogs.openedUrls.size(), 2U);
    EXPECT_EQ(dialogs.openedUrls[0], QUrl::fromLocalFile(Path("Kestrix.pdf")));
    EXPECT_EQ(dialogs.openedUrls[1].scheme(), "https");
    EXPECT_EQ(dialogs.messages.size(), 1U);

    // Without a program to open them, the user is told where to go by hand.
    dialogs.desktopOpens = false;
    window->RunCommand(window::MainCommand::OpenManual);
    window->RunCommand(window::MainCommand::OpenWebsite);
    ASSERT_EQ(dialogs.messages.size(), 3U);
    EXPECT_THAT(dialogs.messages[1].text.toStdString(),
                HasSubstr(Path("Kestrix.pdf").toStdString()));
    EXPECT_THAT(dialogs.messages[2].text.toStdString(),
                HasSubstr(std::string(window::kWebsiteAddress)));
}

} // namespace
} // namespace kestrix::gui::testing
