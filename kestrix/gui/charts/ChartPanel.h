#pragma once

// The chart panel beside the table: particle counts and environmental readings over time, a
// choice of location, the series to show, a logarithmic count axis, zoom reset and export.
// It shows what the core builds from the record set; the main window feeds it.

#include "kestrix/charts/chartData.h"
#include "kestrix/charts/chartState.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/TableViewOptions.h"

#include <QHash>
#include <QWidget>
#include <vector>

class QCheckBox;
class QComboBox;
class QMenu;
class QSplitter;
class QToolButton;

namespace kestrix::gui {

class TrendChart;

class ChartPanel : public QWidget {
    Q_OBJECT
public:
    // Charts under the store's view options, and again whenever one of them changes.
    explicit ChartPanel(const modConfig::ConfigStore& store, QWidget* parent = nullptr);

    // The data to chart (null: none); charted now when the panel is shown, else when it is shown
    // next.
    void SetSource(clsDataRecordSet* recordSet);
    // The state without `shown`, which the window owns.
    void SetState(const charts::ChartState& state);
    charts::ChartState State() const { return state_; }

    // PNG or SVG by the path's extension; false when the file cannot be written.
    bool ExportTo(const QString& path);

    TrendChart* Counts() const { return counts_; }
    TrendChart* Environmental() const { return environmental_; }
    QComboBox* LocationList() const { return locationList_; }
    QCheckBox* LogScaleBox() const { return logScale_; }
    QMenu* SeriesMenu() const { return seriesMenu_; }

signals:
    void ExportRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Refresh();
    void Rebuild();
    void ShowLocation();
    void FillLocationList();
    void FillSeriesMenu();
    void ApplyState();
    void OnLocationChosen(int index);
    void OnSeriesToggled(const std::string& key, bool shown);

    clsDataRecordSet* recordSet_ = nullptr;
    const modConfig::ConfigStore& store_;
    table::TableViewOptions options_;
    bool stale_ = false;
    charts::ChartState state_;
    charts::ChartData allData_; // every location
    charts::ChartData data_;    // the location shown
    std::vector<double> axisTimes_;
    QHash<std::int32_t, QString> locationNames_;

    QComboBox* locationList_;
    QCheckBox* logScale_;
    QToolButton* seriesButton_;
    QMenu* seriesMenu_;
    QSplitter* chartArea_;
    TrendChart* counts_;
    TrendChart* environmental_;
};

} // namespace kestrix::gui
