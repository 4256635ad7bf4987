#pragma once

// The chart panel beside the table: particle counts and environmental readings over time, and
// PM2.5 and PM10 of IAQ data with the Air Quality Index's bands; a choice of location, the
// series to show, a logarithmic count axis, the bands switch, zoom reset and export.
// It shows what the core builds from the record set; the main window feeds it.

#include "kestrix/charts/chartData.h"
#include "kestrix/charts/chartState.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/TableViewOptions.h"

#include <QHash>
#include <QWidget>
#include <array>
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
    void SetSource(data::clsDataRecordSet* recordSet);
    // The state without `shown`, which the window owns.
    void SetState(const charts::ChartState& state);
    charts::ChartState State() const { return state_; }

    // PNG or SVG by the path's extension; false when the file cannot be written.
    bool ExportTo(const QString& path);

    TrendChart* Counts() const { return counts_; }
    TrendChart* Environmental() const { return environmental_; }
    TrendChart* Pm2_5() const { return pm2_5_; }
    TrendChart* Pm10() const { return pm10_; }
    QCheckBox* AqiBandsBox() const { return aqiBands_; }
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
    std::array<TrendChart*, 4> AllCharts() const;

    data::clsDataRecordSet* recordSet_ = nullptr;
    const modConfig::ConfigStore& store_;
    table::TableViewOptions options_;
    bool stale_ = false;
    charts::ChartState state_;
    charts::ChartData allData_;                    // every location
    charts::ChartData data_;                       // the location shown
    std::vector<charts::ChartSeries> pm2_5Series_; // of data_, one chart each for its bands
    std::vector<charts::ChartSeries> pm10Series_;
    std::vector<double> axisTimes_;
    QHash<std::int32_t, QString> locationNames_;

    QComboBox* locationList_;
    QCheckBox* logScale_;
    QCheckBox* aqiBands_;
    QToolButton* seriesButton_;
    QMenu* seriesMenu_;
    QSplitter* chartArea_;
    TrendChart* counts_;
    TrendChart* environmental_;
    TrendChart* pm2_5_;
    TrendChart* pm10_;
};

} // namespace kestrix::gui
