// Renders the program's windows without a display into PNG files, to be looked at before a
// change to the windows is called done, and the manual's pictures during the build (--manual:
// without the table of a full memory, which takes longest):
//   kestrix-screenshots [--manual] OUTPUT_FOLDER [SCALE_SUFFIX]

#include "SimProcess.h"
#include "iaqWeek.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/archive/auditChain.h"
#include "kestrix/archive/auditTrailGrid.h"
#include "kestrix/archive/eventListing.h"
#include "kestrix/archive/signedContent.h"
#include "kestrix/archive/signedSummary.h"
#include "kestrix/archive/signing.h"
#include "kestrix/cleanroom/reportFiles.h"
#include "kestrix/cleanroom/reportPages.h"
#include "kestrix/cleanroom/reportSections.h"
#include "kestrix/gui/charts/ChartPanel.h"
#include "kestrix/gui/cleanroom/ClassificationDialog.h"
#include "kestrix/gui/cleanroom/DataChecksPane.h"
#include "kestrix/gui/common/ArchiveLoginDialog.h"
#include "kestrix/gui/common/Icons.h"
#include "kestrix/gui/common/QtUserDialogs.h"
#include "kestrix/gui/common/SignDialog.h"
#include "kestrix/gui/iaq/IaqReportDialog.h"
#include "kestrix/gui/locations/LocationEditDialog.h"
#include "kestrix/gui/locations/LocationsDialog.h"
#include "kestrix/gui/locations/SaveLocationsDialog.h"
#include "kestrix/gui/main/AboutDialog.h"
#include "kestrix/gui/main/ArchiveDialog.h"
#include "kestrix/gui/main/AuditTrailDialog.h"
#include "kestrix/gui/main/GridView.h"
#include "kestrix/gui/main/InstrumentsDialog.h"
#include "kestrix/gui/main/MainWindow.h"
#include "kestrix/gui/wizards/DownloadWizard.h"
#include "kestrix/gui/wizards/IaqSetupWizard.h"
#include "kestrix/gui/wizards/UploadWizard.h"
#include "kestrix/gui/wizards/WizardPages.h"
#include "kestrix/iaq/iaqReportFiles.h"
#include "kestrix/ini/IniFile.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/print/TablePrinter.h"
#include "support/SampleRecordSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

using namespace kestrix;

// Every view option on, as a user who wants to see everything sets them.
void ShowEverything(modConfig::ConfigStore& store) {
    for (std::int32_t setting = modConfig::kShowInstrumentInfo;
         setting <= modConfig::kShowEnvironmentals; ++setting) {
        store.SetConfigValue(setting, 1);
    }
}

bool Save(QWidget& widget, const QString& folder, const QString& name, const QString& suffix) {
    QApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + name + suffix + QStringLiteral(".png");
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

constexpr int kStepWaitMs = 120000;
// The report pages pictured as a screen shows a page at 100%.
constexpr int kPageDotsPerInch = 100;

// File > Open from Archive over an archive that holds the sample memory.
bool SaveArchiveDialog(const archive::ArchiveSettings& settings, const QString& folder,
                       const QString& suffix) {
    archive::Archive archive(settings);
    archive.Store(*bench::BuildSampleRecordSet(), {archive::kEventDownload, 150});
    gui::ArchiveDialog dialog(archive.Instruments());
    dialog.show();
    return Save(dialog, folder, QStringLiteral("open-from-archive"), suffix);
}

// Tools > Instruments... with the sample instrument's calibration past due.
bool SaveInstrumentsDialog(const archive::ArchiveSettings& settings, const QString& folder,
                           const QString& suffix) {
    archive::Archive archive(settings);
    const archive::InstrumentSummary instrument = archive.Instruments().front();
    archive.Note(archive::CalibrationNote(instrument.model, instrument.serial,
                                          {"CAL-2025-0412", QDate(2025, 3, 4), QDate(2026, 3, 4)}));
    gui::InstrumentsDialog dialog(archive::InstrumentCalibrations(archive), QDate(2026, 12, 8),
                                  [](const auto&, const auto&) { return std::nullopt; });
    dialog.show();
    return Save(dialog, folder, QStringLiteral("instruments"), suffix);
}

// File > Sign... over the sample memory's download, filled in as far as the password.
bool SaveSignDialog(const archive::ArchiveSettings& settings, const QString& folder,
                    const QString& suffix) {
    archive::Archive archive(settings);
    std::int64_t download = 0;
    for (const archive::EventEntry& entry : archive.Events()) {
        if (entry.event.kind == archive::kEventDownload) {
            download = entry.event.id;
        }
    }
    const archive::SignedContent content = archive::DownloadContent(archive.Database(), download);
    gui::SignDialog dialog(
        archive::DescribeSignedContent(archive.Database(), content),
        QStringLiteral("mkeller"), // the audit trail's sample reviewer, not the tool's login
        [](const auto&, const auto&, const auto&) { return gui::SignDialog::Reply{}; });
    dialog.MeaningList()->setCurrentIndex(
        dialog.MeaningList()->findData(QStringLiteral("reviewed")));
    dialog.CommentBox()->setText(QStringLiteral("Week 49 looked at, no excursions"));
    dialog.PasswordBox()->setText(QStringLiteral("password"));
    dialog.show();
    return Save(dialog, folder, QStringLiteral("sign"), suffix);
}

// The log-in to a shared archive after a wrong password, the password typed again.
bool SaveArchiveLogin(const QString& folder, const QString& suffix) {
    gui::ArchiveLoginDialog dialog(
        QStringLiteral("postgresql://jdoe@archive.example.org:5432/cleanrooms"), true);
    dialog.PasswordBox()->setText(QStringLiteral("password"));
    dialog.show();
    return Save(dialog, folder, QStringLiteral("archive-login"), suffix);
}

// The sample events as a site's reviewer sees them: the tool's own login and host read as a
// sample operator's, so that the picture names no build machine.
std::vector<archive::EventEntry> SampleOperatorEvents(std::vector<archive::EventEntry> events) {
    const QString login = QString::fromStdString(archive::CurrentUserName());
    const QString host = QString::fromStdString(archive::CurrentHost());
    for (archive::EventEntry& entry : events) {
        archive::ArchiveEvent& event = entry.event;
        if (event.userName == login.toStdString()) {
            event.userName = "jdoe";
            event.fullName = "Jane Doe";
            event.host = "lab-pc-2";
        }
        event.details = QString::fromStdString(event.details)
                            .replace('"' + login + '"', QStringLiteral("\"jdoe\""))
                            .replace('"' + host + '"', QStringLiteral("\"lab-pc-2\""))
                            .toStdString();
    }
    return events;
}

// Tools > Audit Trail... over the sample download, its calibration and a reviewer's signature
// of the download, the chain verified.
bool SaveAuditTrailDialog(const archive::ArchiveSettings& settings, gui::UserDialogs& dialogs,
                          const QString& folder, const QString& suffix) {
    archive::Archive archive(settings);
    {
        archive::WriteTransaction transaction(archive.Database());
        const archive::SignedContent download = archive::DownloadContent(archive.Database(), 1);
        archive::ArchiveEvent signature;
        signature.kind = archive::kEventSignature;
        signature.userName = "mkeller";
        signature.fullName = "Mara Keller";
        signature.host = "qa-office";
        signature.instrumentId = download.instrumentId;
        signature.downloadId = download.downloadId;
        signature.recordsHash = download.sha256;
        signature.details = R"({"signed":"download","event":1,"sha256":")" + download.sha256 +
                            R"(","meaning":"reviewed","comment":"Counts within limits"})";
        archive::AppendEvent(archive.Database(), signature);
        transaction.Commit();
    }
    const std::string place = "/home/jdoe/.local/share/Orvenda/Kestrix/archive.sqlite";
    std::vector<archive::EventEntry> events = SampleOperatorEvents(archive.Events());
    gui::AuditTrailDialog dialog(
        events, place, [&archive](const auto& kept) { return archive.Verify(kept); }, dialogs);
    dialog.show();
    dialog.VerifyButton()->click();
    const bool ok = Save(dialog, folder, QStringLiteral("audit-trail"), suffix);

    // Its Save PDF..., which asks for a file.
    table::GridModel grid;
    archive::SortByTime(events);
    archive::LayOutAuditTrail(
        {place, dialog.Filter(), events, events.size(), QDateTime::currentDateTime()}, grid);
    const QString pdf = folder + QStringLiteral("/audit-trail") + suffix + ".pdf";
    std::string error;
    const bool written = table::PrintTableToPdf(grid, pdf.toStdString(), error);
    std::printf("%s %s %s\n", written ? "wrote" : "FAILED", qPrintable(pdf), error.c_str());
    return ok && written;
}

// Every instrument picture with its key, to look at them side by side.
bool SavePictureSheet(const QString& folder, const QString& suffix) {
    QWidget sheet;
    auto* grid = new QGridLayout(&sheet);
    const QStringList keys = QDir(QStringLiteral(":/instruments")).entryList();
    for (int i = 0; i < keys.size(); ++i) {
        auto* picture = new QLabel(&sheet);
        picture->setPixmap(gui::DrawnPicture(QStringLiteral(":/instruments/") + keys[i],
                                             sheet.palette().color(QPalette::WindowText),
                                             QSize(140, 140), sheet.devicePixelRatioF()));
        grid->addWidget(picture, (i / 5) * 2, i % 5, Qt::AlignCenter);
        grid->addWidget(new QLabel(keys[i], &sheet), (i / 5) * 2 + 1, i % 5, Qt::AlignCenter);
    }
    sheet.show();
    return Save(sheet, folder, QStringLiteral("instrument-pictures"), suffix);
}

// The simulator's link bound to COM 1 in the configuration, as a user binds a device.
bool BindSimulator(sim::test::SimProcess& simulator, modConfig::ConfigStore& store) {
    IniFile config(store.GetConfigPath());
    if (!simulator.WaitReady() || !config.Load() ||
        !config.SetString("ports", "COM1", simulator.Link()) || !config.Save()) {
        std::fprintf(stderr, "the simulator did not start: %s\n", simulator.ErrorText().c_str());
        return false;
    }
    store.SetConfigValue(modConfig::kComPort, 1);
    store.SetConfigValue(modConfig::kDeviceAddress, 1);
    return true;
}

// Steps 1 to 3 of an instrument wizard as PREFIX-1-welcome, PREFIX-2-port and PREFIX-3-identity.
bool SaveConnectSteps(gui::WizardFrame& wizard, const QString& prefix, const QString& folder,
                      const QString& suffix) {
    wizard.show();
    bool ok = Save(wizard, folder, prefix + QStringLiteral("-1-welcome"), suffix);
    wizard.NextButton()->click();
    // The simulator's pseudo-terminal lives in a temporary folder; the picture shows the adapter
    // a user has instead.
    auto* ports = wizard.findChild<QComboBox*>(QStringLiteral("cmb2Port"));
    ports->setItemText(ports->currentIndex(),
                       QStringLiteral("COM 1 (/dev/ttyUSB0, FT232R USB UART)"));
    ok = Save(wizard, folder, prefix + QStringLiteral("-2-port"), suffix) && ok;
    wizard.NextButton()->click();
    ok = QTest::qWaitFor([&wizard] { return wizard.NextButton()->isEnabled(); }, kStepWaitMs) && ok;
    return Save(wizard, folder, prefix + QStringLiteral("-3-identity"), suffix) && ok;
}

// Step 3 with an instrument the wizard will not work with; the wizard is closed after.
bool SaveRefusedIdentity(gui::WizardFrame& wizard, const QString& name, const QString& folder,
                         const QString& suffix) {
    wizard.show();
    wizard.NextButton()->click();
    wizard.NextButton()->click();
    auto* connected = wizard.findChild<QLabel*>(QStringLiteral("lbl3Connected"));
    const bool shown = QTest::qWaitFor([connected] { return connected->isVisible(); }, kStepWaitMs);
    const bool saved = Save(wizard, folder, name, suffix);
    wizard.CancelButton()->click();
    return shown && saved;
}

// Every step of a download from the simulated IAQ instrument, paced at the line's rate so that
// the download can be caught in progress; then the table it gives.
bool SaveDownloadWizard(gui::MainWindow& window, modConfig::ConfigStore& store,
                        const QString& folder, const QString& suffix) {
    sim::test::SimProcess simulator({"--preset", "iaq-fast", "--pace"});
    if (!BindSimulator(simulator, store)) {
        return false;
    }
    gui::DownloadWizard& wizard = *window.DownloadWiz();
    bool ok = SaveConnectSteps(wizard, QStringLiteral("download"), folder, suffix);
    wizard.NextButton()->click();
    auto* progress = wizard.findChild<QProgressBar*>(QStringLiteral("pbar4Download"));
    ok = QTest::qWaitFor([progress] { return progress->value() * 3 > progress->maximum(); },
                         kStepWaitMs) &&
         ok;
    ok = Save(wizard, folder, QStringLiteral("download-4-progress"), suffix) && ok;
    auto* done = wizard.findChild<QLabel*>(QStringLiteral("lbl4Done"));
    ok = QTest::qWaitFor([done] { return done->isVisible(); }, kStepWaitMs) && ok;
    ok = Save(wizard, folder, QStringLiteral("download-5-done"), suffix) && ok;
    auto recordSet = wizard.GetDataRecordSet();

    // Back to a fixed address where nobody answers.
    wizard.PrevButton()->click();
    wizard.PrevButton()->click();
    QComboBox* addresses = wizard.PortPage().AddressList();
    addresses->setCurrentIndex(addresses->findData(5));
    wizard.NextButton()->click();
    auto* notFound = wizard.findChild<QLabel*>(QStringLiteral("lbl3Error"));
    ok = QTest::qWaitFor([notFound] { return notFound->isVisible(); }, kStepWaitMs) && ok;
    ok = Save(wizard, folder, QStringLiteral("download-3-not-found"), suffix) && ok;
    wizard.CancelButton()->click();
    window.TakeRecordSet(recordSet);
    return Save(window, folder, QStringLiteral("main-after-download"), suffix) && ok;
}

// Every step of the IAQ setup wizard against the simulated IAQ instrument, the density changed
// and written; then the identity of an instrument that is not an IAQ one.
bool SaveIaqWizard(gui::MainWindow& window, modConfig::ConfigStore& store, const QString& folder,
                   const QString& suffix) {
    gui::IaqSetupWizard& wizard = *window.IaqWiz();
    {
        sim::test::SimProcess simulator({"--preset", "iaq-fast"});
        if (!BindSimulator(simulator, store)) {
            return false;
        }
        bool ok = SaveConnectSteps(wizard, QStringLiteral("iaq"), folder, suffix);
        wizard.NextButton()->click();
        ok = Save(wizard, folder, QStringLiteral("iaq-4-density"), suffix) && ok;
        wizard.ChangeBox()->click();
        wizard.NewDensityBox()->setText(QStringLiteral("1.2"));
        ok = Save(wizard, folder, QStringLiteral("iaq-4-change"), suffix) && ok;
        wizard.NextButton()->click();
        auto* done = wizard.findChild<QLabel*>(QStringLiteral("lbl5Done"));
        ok = QTest::qWaitFor([done] { return done->isVisible(); }, kStepWaitMs) && ok;
        ok = Save(wizard, folder, QStringLiteral("iaq-5-written"), suffix) && ok;
        wizard.CancelButton()->click();
        if (!ok) {
            return false;
        }
    }
    sim::test::SimProcess other({"--preset", "standard"});
    if (!BindSimulator(other, store)) {
        return false;
    }
    return SaveRefusedIdentity(wizard, QStringLiteral("iaq-3-not-iaq"), folder, suffix);
}

// My Locations with a few names of the user's, the edit dialog over one of them and the
// save-names dialog with the downloaded instrument's names on offer.
bool SaveLocationDialogs(gui::MainWindow& window, modConfig::ConfigStore& store,
                         gui::UserDialogs& dialogs, const QString& folder, const QString& suffix) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"LOBBY", "Main lobby"}, {"CLEAN_A", "Cleanroom A (ISO 7)"}, {"GOWNING", "Gowning room"}};
    for (std::size_t i = 0; i < names.size(); ++i) {
        store.SetShortLocationName(static_cast<std::int32_t>(i) + 1, names[i].first);
        store.SetLongLocationName(static_cast<std::int32_t>(i) + 1, names[i].second);
    }
    gui::LocationsDialog& locations = *window.Locations();
    locations.show();
    bool ok = Save(locations, folder, QStringLiteral("locations-list"), suffix);
    gui::LocationEditDialog& edit = *locations.EditDialog();
    edit.SetLocationID(2);
    edit.show();
    ok = Save(edit, folder, QStringLiteral("locations-edit"), suffix) && ok;
    edit.hide();
    locations.hide();

    gui::SaveLocationsDialog save(store, dialogs, &window);
    save.SetDataRecordSet(window.RecordSet());
    save.show();
    return Save(save, folder, QStringLiteral("locations-save"), suffix) && ok;
}

// Every step of the upload of those names into a simulated instrument holding three, paced so
// that the upload can be caught in progress; then an instrument that takes no names.
bool SaveUploadWizard(gui::MainWindow& window, modConfig::ConfigStore& store, const QString& folder,
                      const QString& suffix) {
    gui::UploadWizard& wizard = *window.UploadWiz();
    {
        sim::test::SimProcess simulator({"--preset", "iaq-fast", "--pace"});
        if (!BindSimulator(simulator, store)) {
            return false;
        }
        bool ok = SaveConnectSteps(wizard, QStringLiteral("upload"), folder, suffix);
        // First with a repeated name, which the review marks; then mended.
        store.SetShortLocationName(3, "LOBBY");
        wizard.NextButton()->click();
        ok = Save(wizard, folder, QStringLiteral("upload-4-refused"), suffix) && ok;
        store.SetShortLocationName(3, "GOWNING");
        wizard.PrevButton()->click();
        ok = QTest::qWaitFor([&wizard] { return wizard.NextButton()->isEnabled(); }, kStepWaitMs) &&
             ok;
        wizard.NextButton()->click();
        ok = Save(wizard, folder, QStringLiteral("upload-4-review"), suffix) && ok;
        // The overwrite question is a real message box here: answered Yes from the event loop.
        QTimer::singleShot(0, &wizard, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->button(QMessageBox::Yes)->click();
            }
        });
        wizard.NextButton()->click();
        auto* progress = wizard.findChild<QProgressBar*>(QStringLiteral("pbar5Upload"));
        ok = QTest::qWaitFor([progress] { return progress->value() > 0; }, kStepWaitMs) && ok;
        ok = Save(wizard, folder, QStringLiteral("upload-5-progress"), suffix) && ok;
        auto* done = wizard.findChild<QLabel*>(QStringLiteral("lbl5Done"));
        ok = QTest::qWaitFor([done] { return done->isVisible(); }, kStepWaitMs) && ok;
        ok = Save(wizard, folder, QStringLiteral("upload-5-done"), suffix) && ok;
        wizard.CancelButton()->click();
        if (!ok) {
            return false;
        }
    }
    sim::test::SimProcess noNames({"--preset", "legacy-137"});
    if (!BindSimulator(noNames, store)) {
        return false;
    }
    return SaveRefusedIdentity(wizard, QStringLiteral("upload-3-no-names"), folder, suffix);
}

// The classification dialog over six locations of the demo data, its report written as a PDF
// with a room plan and its first two pages as pictures, and the data checks pane.
bool SaveClassification(gui::MainWindow& window, data::clsDataRecordSet& recordSet,
                        const modConfig::ConfigStore& store, gui::UserDialogs& dialogs,
                        const QString& folder, const QString& suffix) {
    gui::ClassificationDialog dialog(recordSet, store, dialogs, &window);
    dialog.findChild<QLineEdit*>(QStringLiteral("txtRoom"))->setText(QStringLiteral("Fill room 2"));
    dialog.findChild<QLineEdit*>(QStringLiteral("txtSizes"))->setText(QStringLiteral("0.3, 1.0"));
    dialog.findChild<QLineEdit*>(QStringLiteral("txtLocations"))->setText(QStringLiteral("1-6"));
    auto* target = dialog.findChild<QComboBox*>(QStringLiteral("cmbTarget"));
    target->setCurrentIndex(target->findData(6));
    dialog.show();
    bool ok = Save(dialog, folder, QStringLiteral("classification-dialog"), suffix);
    dialog.hide();

    cleanroom::ClassificationRequest request;
    request.target.isoClass = 6;
    request.areaSquareMetres = 10;
    request.sizes = {0.3, 1.0};
    request.room = "Fill room 2";
    request.locations = {1, 2, 3, 4, 5, 6};
    const auto outcome = cleanroom::Classify(
        recordSet, request, [&](std::int32_t id) { return recordSet.GetLocationName(id); });
    const QString pdf = folder + QStringLiteral("/classification-report") + suffix + ".pdf";
    if (!outcome.report) {
        return false;
    }
    cleanroom::ClassificationReport report = *outcome.report;
    report.party = {"Clean Air Services Ltd", "1 High Street, Springfield", "A. Tester"};
    report.roomPlan.building = "Building 3, level 1";
    report.roomPlan.width = 4.0;
    report.roomPlan.length = 2.5;
    report.roomPlan.locations = {{1, {0.5, 0.5}}, {2, {2.0, 0.5}}, {3, {3.5, 0.5}},
                                 {4, {0.5, 2.0}}, {5, {2.0, 2.0}}, {6, {3.5, 2.0}}};
    const bool written = cleanroom::SaveReport(report, pdf.toStdString()).empty();
    const std::vector<QImage> pages =
        cleanroom::ReportPageImages(cleanroom::BuildReportDocument(report), kPageDotsPerInch, 2);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        const QString name = QStringLiteral("/classification-report-%1").arg(page + 1);
        ok = pages[page].save(folder + name + suffix + ".png") && ok;
    }
    ok = pages.size() == 2 && ok;
    std::printf("%s %s\n", written ? "wrote" : "FAILED", qPrintable(pdf));
    return ok && written;
}

// The main window over a full memory: scrolled half way, with the data checks pane, and without
// the configuration bar.
bool SaveFullTable(gui::MainWindow& window, const std::shared_ptr<data::clsDataRecordSet>& demo,
                   const QString& folder, const QString& suffix) {
    window.TakeRecordSet(demo);
    QApplication::processEvents();
    gui::GridView& view = *window.View();
    view.ScrollTo({view.ScrollingView()->model()->rowCount() / 2, 0});
    bool ok = Save(window, folder, QStringLiteral("main-full-iaq"), suffix);
    // The header lines stay readable with the table scrolled to its right end.
    view.ScrollTo({0, view.ScrollingView()->model()->columnCount() - 1});
    ok = Save(window, folder, QStringLiteral("main-scrolled-right"), suffix) && ok;
    view.ScrollTo({view.ScrollingView()->model()->rowCount() / 2, 0});
    window.RunCommand(window::MainCommand::ToggleDataChecks);
    window.DataChecks()->List()->selectRow(2);
    ok = Save(window, folder, QStringLiteral("main-data-checks"), suffix) && ok;
    window.RunCommand(window::MainCommand::ToggleDataChecks);
    window.ToggleConfigBar();
    ok = Save(window, folder, QStringLiteral("main-bar-hidden"), suffix) && ok;
    window.ToggleConfigBar();
    return ok;
}

// Tools > IAQ Report... over a week of an IAQ monitor, and its report written as a PDF.
bool SaveIaqReport(gui::MainWindow& window, const modConfig::ConfigStore& store,
                   gui::UserDialogs& dialogs, const QString& folder, const QString& suffix) {
    const std::shared_ptr<data::clsDataRecordSet> week = screenshots::BuildIaqWeek();
    gui::IaqReportDialog dialog(*week, store, dialogs, &window);
    dialog.show();
    const bool ok = Save(dialog, folder, QStringLiteral("iaq-report-dialog"), suffix);
    dialog.hide();
    const auto outcome = iaq::ComputeIaqReport(
        *week, {}, [&](std::int32_t id) { return week->GetLocationName(id); });
    const QString pdf = folder + QStringLiteral("/iaq-report") + suffix + ".pdf";
    const bool written =
        outcome.report && iaq::SaveIaqReport(*outcome.report, pdf.toStdString()).empty();
    std::printf("%s %s\n", written ? "wrote" : "FAILED", qPrintable(pdf));
    return ok && written;
}

// The chart panel beside the table over the downloaded data: all locations first, then raw
// cumulative counts (with the alarm thresholds) of one location on the logarithmic axis.
bool SaveCharts(gui::MainWindow& window, const QString& folder, const QString& suffix) {
    window.ShowCharts(true);
    QTest::qWait(100); // the charts thin their data again once laid out
    bool ok = Save(window, folder, QStringLiteral("main-charts"), suffix);
    window.OnViewOptionChanged(modConfig::kShowParticleNorm, 0);
    window.OnViewOptionChanged(modConfig::kParticleDifferential, 0);
    gui::ChartPanel& panel = *window.Charts();
    QComboBox* locations = panel.LocationList();
    locations->setCurrentIndex(std::min(2, locations->count() - 1));
    emit locations->activated(locations->currentIndex());
    panel.LogScaleBox()->setChecked(true);
    QTest::qWait(100);
    ok = Save(window, folder, QStringLiteral("main-charts-location-log"), suffix) && ok;
    return Save(panel, folder, QStringLiteral("charts-panel"), suffix) && ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool manualOnly = arguments.removeAll(QStringLiteral("--manual")) > 0;
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: kestrix-screenshots [--manual] OUTPUT_FOLDER [SUFFIX]\n");
        return 2;
    }
    const QString folder = arguments[0];
    const QString suffix = arguments.value(1);
    QDir().mkpath(folder);

    QTemporaryDir configFolder;
    modConfig::ConfigStore store;
    store.LoadConfig(configFolder.filePath(QStringLiteral("config.ini")).toStdString());
    ShowEverything(store);
    gui::QtUserDialogs dialogs;
    gui::MainWindow window(store, dialogs, {{0, 1, 0}, QCoreApplication::applicationDirPath()});
    window.resize(1280, 800);
    window.show();
    bool ok = Save(window, folder, QStringLiteral("main-empty"), suffix);

    const std::shared_ptr<data::clsDataRecordSet> demo = bench::BuildSampleRecordSet();
    if (!manualOnly) {
        ok = SaveFullTable(window, demo, folder, suffix) && ok;
    }
    ok = SaveClassification(window, *demo, store, dialogs, folder, suffix) && ok;
    ok = SaveIaqReport(window, store, dialogs, folder, suffix) && ok;

    const archive::ArchiveSettings archiveSettings =
        archive::ReadArchiveSettings(store.GetConfigPath());
    window.About()->SetArchivePlace(QString::fromStdString(archive::ArchivePlace(archiveSettings)));
    window.About()->show();
    ok = Save(*window.About(), folder, QStringLiteral("about"), suffix) && ok;
    window.About()->hide();

    ok = SaveArchiveDialog(archiveSettings, folder, suffix) && ok;
    ok = SaveInstrumentsDialog(archiveSettings, folder, suffix) && ok;
    ok = SaveSignDialog(archiveSettings, folder, suffix) && ok;
    ok = SaveArchiveLogin(folder, suffix) && ok;
    ok = SaveAuditTrailDialog(archiveSettings, dialogs, folder, suffix) && ok;
    ok = SavePictureSheet(folder, suffix) && ok;
    ok = SaveDownloadWizard(window, store, folder, suffix) && ok;
    ok = SaveIaqWizard(window, store, folder, suffix) && ok;
    ok = SaveCharts(window, folder, suffix) && ok;
    ok = SaveLocationDialogs(window, store, dialogs, folder, suffix) && ok;
    ok = SaveUploadWizard(window, store, folder, suffix) && ok;
    return ok ? 0 : 1;
}
