#pragma once

// frmWinMain: the table, the configuration bar beside it, the menus and the toolbar. It owns the
// record set on show and runs the commands; the table's layout, the files and the settings are
// the core's work.

#include "kestrix/charts/chartState.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/GridModel.h"
#include "kestrix/table/TableLayout.h"
#include "kestrix/window/aboutInfo.h"
#include "kestrix/window/fileChoices.h"
#include "kestrix/window/mainCommands.h"
#include "kestrix/window/windowState.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>

class QAction;
class QUrl;
class QSplitter;
class QToolBar;

namespace kestrix::gui {

class AboutDialog;
class ChartPanel;
class ConfigBar;
class DataChecksPane;
class DownloadWizard;
class IaqSetupWizard;
class UploadWizard;
class LocationsDialog;
class GridView;

struct ProgramInfo {
    window::ProgramVersion version;
    QString programFolder; // where Kestrix.pdf and license.txt are
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(modConfig::ConfigStore& store, UserDialogs& dialogs, const ProgramInfo& program,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // As a click on the command's menu entry or toolbar button.
    void RunCommand(window::MainCommand command);

    // Makes the record set the window's own and shows it, as a finished download does; false
    // (with a message, the shown data kept) when it cannot be laid out.
    bool TakeRecordSet(std::shared_ptr<data::clsDataRecordSet> recordSet);
    const std::shared_ptr<data::clsDataRecordSet>& RecordSet() const { return recordSet_; }
    bool HasData() const { return recordSet_ != nullptr; }

    void ShowConfigBar(bool show);
    void ToggleConfigBar();
    void ShowCharts(bool show);
    void ToggleCharts();
    // Stores the option; the table and the charts follow the store.
    void OnViewOptionChanged(std::int32_t setting, std::int32_t value);
    void RefreshTable();

    window::WindowState State() const;
    void RestoreState(const window::WindowState& state);
    charts::ChartState ChartsState() const;
    void RestoreChartsState(const charts::ChartState& state);

    const table::GridModel& Grid() const { return grid_; }
    GridView* View() const { return gridView_; }
    ChartPanel* Charts() const { return chartPanel_; }
    ConfigBar* Bar() const { return configBar_; }
    AboutDialog* About() const { return about_; }
    DownloadWizard* DownloadWiz() const { return downloadWizard_; }
    UploadWizard* UploadWiz() const { return uploadWizard_; }
    IaqSetupWizard* IaqWiz() const { return iaqWizard_; }
    LocationsDialog* Locations() const { return locationsDialog_; }
    DataChecksPane* DataChecks() const { return dataChecks_; }
    // The command's one action, in its menu and on the toolbar.
    QAction* Action(window::MainCommand command) const { return actions_.at(command); }
    QToolBar* Toolbar() const { return toolbar_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void Bind(window::MainCommand command, std::function<void()> handler);
    void CreateMenus();
    void CreateToolbar();
    void RebuildConfigBar();
    void OnSettingStored(modConfig::ConfigSetting setting);
    bool IsIaqRecordSet() const;
    // Lays the set out anew; false, with a message and the table kept, when it cannot be.
    bool FillGrid(data::clsDataRecordSet* recordSet);
    // Runs a layout step; false, with a message, when it fails.
    bool LayOut(const std::function<void()>& step);
    // Names the shown data's file, or its instrument when sourceFile is empty.
    void ShowTitle(const QString& sourceFile);
    void UpdateCharts();
    void ExportCharts();
    void ShowError(const QString& text, const QString& detail = {});

    struct SaveChoice {
        std::string path; // with the chosen filter's extension when it had none
        window::FileFilter filter;
    };
    // None when the user cancelled.
    std::optional<SaveChoice> ChooseSaveFile(const QString& title,
                                             std::span<const window::FileFilter> filters);
    void SaveTableAs();
    void PrintTable();
    void PrintPreview();
    void OpenRecordSet();
    void SaveRecordSetAs();
    // The record set saved as the file, in the archive's audit trail.
    void NoteExport(const std::string& path);
    void OpenManual();
    void OpenWebsite();
    // Tells the user, with the failure text and the place to open by hand, when nothing opens it.
    void OpenWithDesktop(const QUrl& url, const QString& failure);
    void ShowAbout();
    void DownloadData();
    // An archive that fails is told once and never stops the download. The download's event
    // when archived.
    std::optional<std::int64_t> ArchiveDownload(data::clsDataRecordSet& recordSet);
    // The shown download when the archive holds it, otherwise a report file the user chooses.
    void SignData();
    void SetupMyLocations();
    void OpenLocationNames();
    void ShowClassification();
    void ShowIaqReport();
    void ToggleDataChecks();
    void ShowRecordRow(std::int32_t recordIndex);
    QString DownloadsFolder() const;

    modConfig::ConfigStore& store_;
    UserDialogs& dialogs_;
    ProgramInfo program_;
    std::shared_ptr<data::clsDataRecordSet> recordSet_;
    // The archive's download or import event of the shown set; none when it is no one download.
    std::optional<std::int64_t> shownDownload_;
    table::GridModel grid_;
    table::TableLayout layout_; // of the table grid_ shows
    AboutDialog* about_;
    DownloadWizard* downloadWizard_;
    UploadWizard* uploadWizard_;
    IaqSetupWizard* iaqWizard_;
    LocationsDialog* locationsDialog_;
    ConfigBar* configBar_;
    GridView* gridView_;
    DataChecksPane* dataChecks_;
    ChartPanel* chartPanel_;
    QSplitter* splitter_;
    QToolBar* toolbar_ = nullptr;
    std::map<window::MainCommand, QAction*> actions_;
    bool loaded_ = false;
};

} // namespace kestrix::gui
