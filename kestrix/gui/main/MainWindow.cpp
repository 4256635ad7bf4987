#include "kestrix/gui/main/MainWindow.h"

#include "kestrix/archive/autoArchive.h"
#include "kestrix/archive/sessionPassword.h"
#include "kestrix/charts/chartFiles.h"
#include "kestrix/cleanroom/dataChecks.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/data/sensorName.h"
#include "kestrix/gui/charts/ChartPanel.h"
#include "kestrix/gui/cleanroom/ClassificationDialog.h"
#include "kestrix/gui/cleanroom/DataChecksPane.h"
#include "kestrix/gui/common/ArchiveLoginDialog.h"
#include "kestrix/gui/common/ArchiveNotes.h"
#include "kestrix/gui/common/ArchiveSigning.h"
#include "kestrix/gui/common/Icons.h"
#include "kestrix/gui/iaq/IaqReportDialog.h"
#include "kestrix/gui/locations/LocationFileCommands.h"
#include "kestrix/gui/locations/LocationsDialog.h"
#include "kestrix/gui/main/AboutDialog.h"
#include "kestrix/gui/main/ConfigBar.h"
#include "kestrix/gui/main/GridView.h"
#include "kestrix/gui/main/ManageInstruments.h"
#include "kestrix/gui/main/OpenFromArchive.h"
#include "kestrix/gui/main/ReviewAuditTrail.h"
#include "kestrix/gui/wizards/DownloadWizard.h"
#include "kestrix/gui/wizards/IaqSetupWizard.h"
#include "kestrix/gui/wizards/UploadWizard.h"
#include "kestrix/instrument/DownloadSession.h"
#include "kestrix/shell/folders.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/shell/programFiles.h"
#include "kestrix/table/TableViewOptions.h"
#include "kestrix/table/modDataTable.h"
#include "kestrix/table/print/TablePrinter.h"
#include "kestrix/table/recordRows.h"
#include "kestrix/table/writers/SaveTable.h"
#include "kestrix/window/configBarLayout.h"
#include "kestrix/window/fileChoices.h"
#include "kestrix/window/windowTitle.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QUrl>
#include <exception>

namespace kestrix::gui {
namespace {

constexpr QSize kDefaultSize(1280, 800);
constexpr double kSmallScreenShare = 0.9;
constexpr int kDefaultBarWidth = 280;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The wait cursor for work that ends within the scope.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QStringList FilterTexts(std::span<const window::FileFilter> filters, QStringList* suffixes) {
    QStringList texts;
    for (const window::FileFilter& filter : filters) {
        texts.append(ToQString(filter.text));
        suffixes->append(ToQString(filter.extension));
    }
    return texts;
}

// The platform's key for the purpose, or the given one where the platform has none.
void SetStandardShortcut(QAction* action, QKeySequence::StandardKey key, const char* fallback) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    action->setShortcuts(keys.isEmpty() ? QList{QKeySequence(QString::fromLatin1(fallback))}
                                        : keys);
}

} // namespace

MainWindow::MainWindow(modConfig::ConfigStore& store, UserDialogs& dialogs,
                       const ProgramInfo& program, QWidget* parent)
    : QMainWindow(parent), store_(store), dialogs_(dialogs), program_(program),
      about_(new AboutDialog(program.version, program.programFolder, this)),
      downloadWizard_(new DownloadWizard(store, dialogs, this)),
      uploadWizard_(new UploadWizard(store, dialogs, this)),
      iaqWizard_(new IaqSetupWizard(store, dialogs, this)),
      locationsDialog_(new LocationsDialog(store, dialogs, this)), configBar_(new ConfigBar),
      gridView_(new GridView(grid_)), dataChecks_(new DataChecksPane(this)),
      chartPanel_(new ChartPanel(store)), splitter_(new QSplitter) {
    setObjectName(QStringLiteral("frmWinMain"));
    setWindowTitle(QStringLiteral("Kestrix"));
    setWindowIcon(ApplicationIcon());
    CreateActions();
    CreateMenus();
    CreateToolbar();
    statusBar();

    splitter_->addWidget(configBar_);
    splitter_->addWidget(gridView_);
    splitter_->addWidget(chartPanel_);
    chartPanel_->hide();
    splitter_->setStretchFactor(1, 1);
    splitter_->setStretchFactor(2, 1);
    splitter_->setChildrenCollapsible(false);
    splitter_->setSizes({kDefaultBarWidth, kDefaultSize.width() - kDefaultBarWidth});
    setCentralWidget(splitter_);
    const QSize available = screen() ? screen()->availableSize() : kDefaultSize;
    resize(kDefaultSize.boundedTo(available * kSmallScreenShare).expandedTo(QSize(640, 480)));

    addDockWidget(Qt::BottomDockWidgetArea, dataChecks_);
    dataChecks_->hide();
    connect(dataChecks_, &DataChecksPane::RecordActivated, this, &MainWindow::ShowRecordRow);
    connect(dataChecks_, &QDockWidget::visibilityChanged, this, [this] {
        Action(window::MainCommand::ToggleDataChecks)->setChecked(dataChecks_->isVisibleTo(this));
    });
    connect(configBar_, &ConfigBar::OptionChanged, this, &MainWindow::OnViewOptionChanged);
    connect(&store_.Changes(), &modConfig::SettingChanges::Changed, this,
            &MainWindow::OnSettingStored);
    connect(configBar_, &ConfigBar::CommandRequested, this, &MainWindow::RunCommand);
    connect(chartPanel_, &ChartPanel::ExportRequested, this, &MainWindow::ExportCharts);
    RebuildConfigBar();
    configBar_->LoadViewOptions(store_);
    ShowConfigBar(store_.Get(modConfig::settings::kShowConfigBar));
    modDataTable::InitTableGrid(grid_);
    FillGrid(nullptr);
    gridView_->ShowHint(tr("No data yet. Choose Tools > Download Data... or File > Open "
                           "Downloaded Data..."));
    // A server archive asks for its password over whatever dialog is open at the moment.
    archive::SetSessionPasswordPrompt([this](const std::string& place, bool refused) {
        QWidget* over = QApplication::activeModalWidget();
        return AskArchivePassword(over != nullptr ? over : this, dialogs_, place, refused);
    });
    loaded_ = true;
}

MainWindow::~MainWindow() {
    archive::SetSessionPasswordPrompt({});
}

void MainWindow::CreateActions() {
    using C = window::MainCommand;
    Bind(C::SaveTableAs, [this] { SaveTableAs(); });
    Bind(C::PrintTable, [this] { PrintTable(); });
    Bind(C::PrintPreview, [this] { PrintPreview(); });
    Bind(C::OpenRecordSet, [this] { OpenRecordSet(); });
    Bind(C::OpenFromArchive, [this] {
        if (auto recordSet = OpenFromArchive(this, dialogs_, store_.GetConfigPath())) {
            TakeRecordSet(std::move(recordSet));
        }
    });
    Bind(C::SaveRecordSetAs, [this] { SaveRecordSetAs(); });
    Bind(C::Sign, [this] { SignData(); });
    Action(C::Sign)->setEnabled(archive::ReadArchiveSettings(store_.GetConfigPath()).enabled);
    Bind(C::SaveLocationNames, [this] { SaveLocationNamesAs(this, dialogs_, store_, recordSet_); });
    Bind(C::OpenLocationNames, [this] { OpenLocationNames(); });
    Bind(C::Exit, [this] { close(); });
    Bind(C::DownloadData, [this] { DownloadData(); });
    Bind(C::SetupIaqInstrument, [this] { dialogs_.ShowModal(*iaqWizard_); });
    Bind(C::SetupMyLocations, [this] { SetupMyLocations(); });
    Bind(C::UploadLocationNames, [this] { dialogs_.ShowModal(*uploadWizard_); });
    Bind(C::CleanroomClassification, [this] { ShowClassification(); });
    Bind(C::IaqReport, [this] { ShowIaqReport(); });
    Bind(C::Instruments, [this] { ManageInstruments(this, dialogs_, store_.GetConfigPath()); });
    Bind(C::AuditTrail, [this] { ReviewAuditTrail(this, dialogs_, store_.GetConfigPath()); });
    // A checkable action's own toggle is overruled: its state follows the command's outcome.
    Bind(C::ToggleConfigBar, [this] { ToggleConfigBar(); });
    Bind(C::ToggleDataChecks, [this] { ToggleDataChecks(); });
    Bind(C::ToggleCharts, [this] { ToggleCharts(); });
    Bind(C::OpenWebsite, [this] { OpenWebsite(); });
    Bind(C::OpenManual, [this] { OpenManual(); });
    Bind(C::ShowAbout, [this] { ShowAbout(); });
    // Save As is the only saving of the table, so it takes the save key.
    SetStandardShortcut(Action(C::SaveTableAs), QKeySequence::Save, "Ctrl+S");
    SetStandardShortcut(Action(C::PrintTable), QKeySequence::Print, "Ctrl+P");
    SetStandardShortcut(Action(C::OpenRecordSet), QKeySequence::Open, "Ctrl+O");
    Action(C::Exit)->setShortcut(QKeySequence::Quit);
    Action(C::OpenManual)->setShortcut(QKeySequence::HelpContents);
}

void MainWindow::Bind(window::MainCommand command, std::function<void()> handler) {
    const window::CommandInfo& info = window::Info(command);
    auto* action = new QAction(ImageIcon(info.imageKey, info.themeIcon, palette()),
                               ToQString(info.caption), this);
    action->setObjectName(ToQString(info.key));
    action->setCheckable(info.checkable);
    action->setIconVisibleInMenu(info.iconInMenu);
    if (!info.tooltip.empty()) {
        action->setToolTip(ToQString(info.tooltip));
    }
    action->setStatusTip(ToQString(info.description));
    connect(action, &QAction::triggered, this, std::move(handler));
    actions_.emplace(command, action);
}

void MainWindow::CreateMenus() {
    for (const window::Menu& menu : window::MainMenus()) {
        QMenu* qmenu = menuBar()->addMenu(ToQString(menu.caption));
        qmenu->setObjectName(ToQString(menu.key));
        for (const std::optional<window::MainCommand>& entry : menu.entries) {
            if (entry) {
                qmenu->addAction(Action(*entry));
            } else {
                qmenu->addSeparator();
            }
        }
    }
}

void MainWindow::CreateToolbar() {
    toolbar_ = addToolBar(tr("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("tbrMain"));
    toolbar_->setMovable(false);
    for (const std::optional<window::MainCommand>& entry : window::ToolbarEntries()) {
        if (entry) {
            toolbar_->addAction(Action(*entry));
        } else {
            toolbar_->addSeparator();
        }
    }
}

void MainWindow::RunCommand(window::MainCommand command) {
    Action(command)->trigger();
}

// ---- Record set and table

bool MainWindow::FillGrid(data::clsDataRecordSet* recordSet) {
    return LayOut([this, recordSet] {
        layout_ =
            modDataTable::FillTable(grid_, recordSet, table::ReadTableViewOptions(store_), store_);
    });
}

bool MainWindow::LayOut(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        dialogs_.Message(this, {tr("The data cannot be shown in the table."), tr("Internal Error"),
                                QMessageBox::Critical, QMessageBox::Ok,
                                QString::fromStdString(error.what())});
        return false;
    }
}

void MainWindow::ShowTitle(const QString& sourceFile) {
    setWindowTitle(QString::fromStdString(
        window::MainWindowTitle(recordSet_.get(), sourceFile.toStdString())));
}

bool MainWindow::TakeRecordSet(std::shared_ptr<data::clsDataRecordSet> recordSet) {
    const WaitCursor wait;
    // The shown table is let go first, so that the new one is not built beside it; a set that
    // cannot be shown brings the current data's table back.
    grid_.SetRedraw(false);
    FillGrid(nullptr);
    const bool shown = FillGrid(recordSet.get());
    if (!shown) {
        FillGrid(recordSet_.get());
    }
    grid_.SetRedraw(true);
    if (!shown) {
        return false;
    }
    recordSet_ = std::move(recordSet);
    shownDownload_.reset();
    ShowTitle({});
    gridView_->ShowHint({});
    RebuildConfigBar();
    dataChecks_->ShowFindings(cleanroom::CheckRecords(*recordSet_), recordSet_->RecordCount() > 0);
    UpdateCharts();
    return true;
}

void MainWindow::ShowClassification() {
    if (!recordSet_ || recordSet_->RecordCount() == 0) {
        dialogs_.Message(this, {tr("There are no records to classify: download or open data "
                                   "first."),
                                tr("Information"),
                                QMessageBox::Information,
                                QMessageBox::Ok,
                                {}});
        return;
    }
    ClassificationDialog dialog(*recordSet_, store_, dialogs_, this);
    dialogs_.ShowModal(dialog);
}

void MainWindow::ShowIaqReport() {
    if (!IsIaqRecordSet()) {
        return;
    }
    IaqReportDialog dialog(*recordSet_, store_, dialogs_, this);
    dialogs_.ShowModal(dialog);
}

void MainWindow::ToggleDataChecks() {
    dataChecks_->setVisible(!dataChecks_->isVisibleTo(this));
}

void MainWindow::ShowRecordRow(std::int32_t recordIndex) {
    gridView_->SelectGridRow(table::GridRowOfRecord(grid_, recordIndex));
}

bool MainWindow::IsIaqRecordSet() const {
    return recordSet_ && data::IsIaqSensorName(recordSet_->GetSensorName());
}

void MainWindow::RebuildConfigBar() {
    configBar_->RebuildConfigBar(IsIaqRecordSet());
    Action(window::MainCommand::IaqReport)->setEnabled(IsIaqRecordSet());
}

void MainWindow::OnViewOptionChanged(std::int32_t setting, std::int32_t value) {
    if (loaded_) {
        store_.SetConfigValue(setting, value);
    }
}

void MainWindow::OnSettingStored(modConfig::ConfigSetting setting) {
    if (loaded_ && modConfig::Definition(setting).IsViewOption()) {
        RefreshTable();
        gridView_->ScrollingView()->setFocus();
    }
}

void MainWindow::RefreshTable() {
    const WaitCursor wait;
    const GridView::ScrollPosition position = gridView_->FirstVisibleCell();
    grid_.SetRedraw(false);
    LayOut([this] {
        modDataTable::RefreshTable(grid_, layout_, recordSet_.get(),
                                   table::ReadTableViewOptions(store_), store_);
    });
    grid_.SetRedraw(true);
    gridView_->ScrollTo(position);
}

// ---- Charts

void MainWindow::UpdateCharts() {
    chartPanel_->SetSource(recordSet_.get());
}

void MainWindow::ShowCharts(bool show) {
    Action(window::MainCommand::ToggleCharts)->setChecked(show);
    if (show == chartPanel_->isVisibleTo(this)) {
        return;
    }
    chartPanel_->setVisible(show);
    // The charts share the grid's room evenly; the bar keeps its width. Before the window is
    // laid out there is no room to share and the stretch factors do it.
    const QList<int> sizes = splitter_->sizes();
    const int shared = sizes.value(1) + sizes.value(2);
    if (show && shared > 0) {
        splitter_->setSizes({sizes.value(0), shared / 2, shared - shared / 2});
    }
}

void MainWindow::ToggleCharts() {
    ShowCharts(!chartPanel_->isVisibleTo(this));
}

void MainWindow::ExportCharts() {
    const auto choice = ChooseSaveFile(tr("Export Charts"), charts::ChartFileFilters());
    if (!choice) {
        return;
    }
    const QString path = QString::fromStdString(choice->path);
    if (!chartPanel_->ExportTo(path)) {
        ShowError(tr("The charts could not be written to %1.").arg(path));
    }
}

charts::ChartState MainWindow::ChartsState() const {
    charts::ChartState state = chartPanel_->State();
    state.shown = chartPanel_->isVisibleTo(this);
    return state;
}

void MainWindow::RestoreChartsState(const charts::ChartState& state) {
    chartPanel_->SetState(state);
    ShowCharts(state.shown);
}

// ---- Configuration bar

void MainWindow::ShowConfigBar(bool show) {
    store_.Set(modConfig::settings::kShowConfigBar, show);
    Action(window::MainCommand::ToggleConfigBar)->setChecked(show);
    configBar_->setVisible(show);
}

void MainWindow::ToggleConfigBar() {
    ShowConfigBar(!configBar_->isVisibleTo(this));
}

// ---- Files

QString MainWindow::DownloadsFolder() const {
    const QString folder = QString::fromStdString(shell::GetDownloadsFolder());
    return QFileInfo(folder).isDir() ? folder : QString();
}

void MainWindow::ShowError(const QString& text, const QString& detail) {
    dialogs_.Message(this, {text, QStringLiteral("File Error!"), QMessageBox::Critical,
                            QMessageBox::Ok, detail});
}

std::optional<MainWindow::SaveChoice>
MainWindow::ChooseSaveFile(const QString& title, std::span<const window::FileFilter> filters) {
    FileRequest request{FileRequest::Mode::Save, title, DownloadsFolder(), {}, {}};
    request.filters = FilterTexts(filters, &request.suffixes);
    const FileChoice choice = dialogs_.ChooseFile(this, request);
    if (choice.Cancelled()) {
        return std::nullopt;
    }
    const auto& filter = filters[static_cast<std::size_t>(
        std::clamp<int>(choice.filterIndex, 0, static_cast<int>(filters.size()) - 1))];
    return SaveChoice{window::WithExtension(choice.path.toStdString(), filter.extension), filter};
}

void MainWindow::SaveTableAs() {
    const auto choice = ChooseSaveFile(tr("Save As"), window::TableFileFilters());
    if (!choice) {
        return;
    }
    const WaitCursor wait;
    const auto result = modDataTable::SaveTable(&grid_, choice->path, choice->filter.formatCode);
    if (result.Failed()) {
        ShowError(QStringLiteral("File Error!"), QString::fromStdString(result.message));
        return;
    }
    NoteExport(choice->path);
}

void MainWindow::PrintTable() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!dialogs_.ChoosePrinter(this, printer)) {
        return;
    }
    const WaitCursor wait;
    if (!table::PrintTable(grid_, printer)) {
        ShowError(tr("The table could not be printed."));
    }
}

void MainWindow::PrintPreview() {
    dialogs_.ShowPrintPreview(this,
                              [this](QPrinter& printer) { table::PrintTable(grid_, printer); });
}

void MainWindow::OpenRecordSet() {
    FileRequest request{FileRequest::Mode::Open,
                        tr("Open Downloaded Data"),
                        DownloadsFolder(),
                        {ToQString(window::kRecordSetFilter.text)},
                        {}};
    const FileChoice choice = dialogs_.ChooseFile(this, request);
    if (choice.Cancelled()) {
        return;
    }
    data::RecordSetReadResult read;
    {
        const WaitCursor wait;
        read = data::ReadRecordSetJson(choice.path.toStdString());
    }
    if (!read.recordSet) {
        ShowError(tr("Cannot read %1.").arg(choice.path), QString::fromStdString(read.error));
        return;
    }
    if (TakeRecordSet(std::move(read.recordSet))) {
        ShowTitle(choice.path);
    }
}

void MainWindow::SaveRecordSetAs() {
    if (!recordSet_) {
        dialogs_.Message(this, {tr("There is no downloaded data to save."),
                                tr("Information"),
                                QMessageBox::Information,
                                QMessageBox::Ok,
                                {}});
        return;
    }
    FileRequest request{FileRequest::Mode::Save,
                        tr("Save Downloaded Data As"),
                        DownloadsFolder(),
                        {ToQString(window::kRecordSetFilter.text)},
                        {ToQString(window::kRecordSetFilter.extension)}};
    const FileChoice choice = dialogs_.ChooseFile(this, request);
    if (choice.Cancelled()) {
        return;
    }
    const std::string path =
        window::WithExtension(choice.path.toStdString(), window::kRecordSetFilter.extension);
    std::string error;
    const WaitCursor wait;
    if (!data::WriteRecordSetJson(*recordSet_, path, error)) {
        ShowError(QStringLiteral("File Error!"), QString::fromStdString(error));
        return;
    }
    NoteExport(path);
}

void MainWindow::NoteExport(const std::string& path) {
    if (recordSet_) {
        NoteInArchive(*this, dialogs_, store_.GetConfigPath(),
                      archive::ExportNote(*recordSet_, path));
    }
}

// ---- Help and the outside world

void MainWindow::OpenManual() {
    const QString manual = QString::fromStdString(
        shell::FindProgramFile(program_.programFolder.toStdString(), "Kestrix.pdf"));
    if (!QFileInfo(manual).isFile()) {
        ShowError(tr("The manual %1 cannot be found.").arg(manual));
        return;
    }
    OpenWithDesktop(QUrl::fromLocalFile(manual), tr("The manual could not be opened: no program "
                                                    "to show it was found.\nOpen it by hand:"));
}

void MainWindow::OpenWebsite() {
    OpenWithDesktop(QUrl(ToQString(window::kWebsiteAddress)),
                    tr("The website could not be opened: no web browser was found.\nOpen this "
                       "address in a browser:"));
}

void MainWindow::OpenWithDesktop(const QUrl& url, const QString& failure) {
    if (!dialogs_.OpenUrl(url)) {
        const QString place = url.isLocalFile() ? url.toLocalFile() : url.toString();
        dialogs_.Message(this, {failure + QLatin1Char('\n') + place,
                                tr("Warning"),
                                QMessageBox::Warning,
                                QMessageBox::Ok,
                                {}});
    }
}

void MainWindow::ShowAbout() {
    about_->SetArchivePlace(QString::fromStdString(
        archive::ArchivePlace(archive::ReadArchiveSettings(store_.GetConfigPath()))));
    dialogs_.ShowModal(*about_);
}

void MainWindow::DownloadData() {
    gridView_->ScrollingView()->setFocus();
    dialogs_.ShowModal(*downloadWizard_);
    if (downloadWizard_->WasDataDownloaded()) {
        const std::shared_ptr<data::clsDataRecordSet> recordSet =
            downloadWizard_->GetDataRecordSet();
        // Archived first, so that the table shows the head the set was archived at.
        const std::optional<std::int64_t> event = ArchiveDownload(*recordSet);
        if (TakeRecordSet(recordSet)) {
            shownDownload_ = event;
        }
    }
}

std::optional<std::int64_t> MainWindow::ArchiveDownload(data::clsDataRecordSet& recordSet) {
    const WaitCursor wait;
    const archive::AutoArchiveOutcome outcome = archive::ArchiveFinishedDownload(
        archive::ReadArchiveSettings(store_.GetConfigPath()), recordSet,
        downloadWizard_->Session().Identity().mapVersion);
    if (!outcome.archived && !outcome.message.empty()) {
        dialogs_.Message(this, {tr("The download was not archived; the data is shown all the "
                                   "same."),
                                tr("Warning"), QMessageBox::Warning, QMessageBox::Ok,
                                QString::fromStdString(outcome.message)});
    }
    return outcome.archived ? std::optional(outcome.event) : std::nullopt;
}

void MainWindow::SignData() {
    if (shownDownload_) {
        SignDownload(this, dialogs_, store_.GetConfigPath(), *shownDownload_);
        return;
    }
    const FileRequest request{FileRequest::Mode::Open,
                              tr("Sign a Saved Report"),
                              DownloadsFolder(),
                              {ToQString(window::kSignableReportFilter.text)},
                              {}};
    if (const FileChoice choice = dialogs_.ChooseFile(this, request); !choice.Cancelled()) {
        SignFile(this, dialogs_, store_.GetConfigPath(), choice.path);
    }
}

void MainWindow::SetupMyLocations() {
    locationsDialog_->SetDataRecordSet(recordSet_);
    dialogs_.ShowModal(*locationsDialog_);
    if (locationsDialog_->WasModified()) {
        RefreshTable();
        UpdateCharts();
    }
    gridView_->ScrollingView()->setFocus();
}

void MainWindow::OpenLocationNames() {
    if (OpenLocationNamesFrom(this, dialogs_, store_)) {
        // Stores the name source again, as choosing it does, and shows the new names.
        OnViewOptionChanged(modConfig::kLocationNameSource,
                            store_.GetConfigValue(modConfig::kLocationNameSource));
    }
}

// ---- Window

void MainWindow::closeEvent(QCloseEvent* event) {
    if (recordSet_) {
        const auto answer =
            dialogs_.Message(this, {tr("Are you sure you want to close this program?\n"
                                       "(All downloaded data will be lost!)"),
                                    tr("Warning"),
                                    QMessageBox::Question,
                                    QMessageBox::Yes | QMessageBox::No,
                                    {},
                                    QMessageBox::No});
        if (answer != QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

window::WindowState MainWindow::State() const {
    const QRect frame = normalGeometry();
    const QList<int> sizes = splitter_->sizes();
    return {frame.x(),     frame.y(),
            frame.width(), frame.height(),
            isMaximized(), configBar_->isVisibleTo(this) ? sizes.value(0) : configBar_->width()};
}

void MainWindow::RestoreState(const window::WindowState& state) {
    setGeometry(state.x, state.y, state.width, state.height);
    if (state.barWidth > 0) {
        splitter_->setSizes({state.barWidth, std::max(1, state.width - state.barWidth)});
    }
    if (state.maximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

} // namespace kestrix::gui
