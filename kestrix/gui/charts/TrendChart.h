#pragma once

// One trend chart: the series of a chart data set over time, thinned to the plot's width,
// with a value axis per unit (linear or logarithmic), dashed alarm thresholds, the Air Quality
// Index's category bands behind PM2.5 or PM10, a tooltip per point and zoom by dragging over a
// time span.

#include "kestrix/charts/bucketReduction.h"
#include "kestrix/charts/chartData.h"

#include <QChartView>
#include <QHash>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QAbstractAxis;
class QLineSeries;

namespace kestrix::gui {

class TrendChart : public QChartView {
    Q_OBJECT
public:
    // Where a chart's points come from; the panel owns all of it and calls Redraw on change.
    struct Source {
        const std::vector<charts::ChartSeries>* series = nullptr;
        const charts::ChartData* data = nullptr;
        const std::vector<double>* axisTimes = nullptr; // ms since the epoch, one per record
        const QHash<std::int32_t, QString>* locationNames = nullptr;
    };

    // The legend goes beside the plot or, where value axes take the sides, below it.
    TrendChart(const QString& title, Qt::Alignment legendSide, QWidget* parent = nullptr);

    void SetSource(const Source& source);
    void SetHidden(const std::set<std::string>& hidden);
    void SetLogScale(bool logScale);
    void SetBands(bool shown);
    void ResetZoom();
    void Redraw();

    // Points handed to the chart in the last redraw, over all series.
    qsizetype DrawnPointCount() const { return drawnPoints_; }
    bool LogScale() const { return logScale_; }
    // Category bands drawn in the last redraw.
    int DrawnBandCount() const { return drawnBands_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Drawn {
        const charts::ChartSeries* series;
        std::vector<std::size_t> kept; // record positions of the points
    };

    void Clear();
    QAbstractAxis* ValueAxis(const QString& units, double low, double high);
    void AddBands(charts::TimeRange range);
    void AddSeries(std::size_t index, charts::TimeRange range);
    void AddThreshold(const charts::ChartSeries& series, const QColor& color,
                      charts::TimeRange range, QAbstractAxis* axis);
    void OnTimeRangeChanged(qreal first, qreal last);
    void ShowPointTip(const Drawn& drawn, const QPointF& point);

    Source source_;
    std::set<std::string> hidden_;
    bool logScale_ = false;
    bool bandsShown_ = false;
    int drawnBands_ = 0;
    bool redrawing_ = false;
    std::optional<charts::TimeRange> zoom_;
    std::vector<Drawn> drawn_;
    QHash<QString, QAbstractAxis*> valueAxes_;
    QAbstractAxis* timeAxis_ = nullptr;
    qsizetype drawnPoints_ = 0;
};

} // namespace kestrix::gui
