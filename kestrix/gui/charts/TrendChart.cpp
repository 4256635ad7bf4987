#include "kestrix/gui/charts/TrendChart.h"

#include "kestrix/iaq/airQualityIndex.h"
#include "kestrix/table/TimestampText.h"

#include <QAreaSeries>
#include <QChart>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QLogValueAxis>
#include <QMap>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrix::gui {
namespace {

constexpr double kMsPerHour = 3600000.0;
constexpr int kGoldenAngle = 137;
// Bands stay faint behind the lines.
constexpr int kBandAlpha = 70;

struct Bounds {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Take(double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
};

// A colour per series position, so a series keeps its colour while others are switched off.
QColor SeriesColor(std::size_t index) {
    return QColor::fromHsv(static_cast<int>(index * kGoldenAngle % 360), 200, 190);
}

// The unit is the value axis' title; the tooltip names both.
QString SeriesName(const charts::ChartSeries& series) {
    return QString::fromStdString(series.title);
}

QString NameWithUnits(const charts::ChartSeries& series) {
    return QString::fromStdString(series.title + " " + series.units).trimmed();
}

// Labels short enough for the ticks: the time of day within a day, the day and time within
// half a year, else the date.
QString TimeFormat(double spanMs) {
    constexpr double kMsPerDay = 24 * kMsPerHour;
    if (spanMs <= kMsPerDay) {
        return QStringLiteral("hh:mm");
    }
    return spanMs <= 183 * kMsPerDay ? QStringLiteral("d MMM hh:mm") : QStringLiteral("d MMM yyyy");
}

// Whole numbers without a decimal tail, fractions as they are.
const QString kValueFormat = QStringLiteral("%.10g");
constexpr int kTickSpacing = 120; // pixels per time label

// A lone instant gets an hour either side, so the axis has a span to show.
charts::TimeRange Widened(charts::TimeRange range) {
    if (range.last > range.first) {
        return range;
    }
    return {range.first - kMsPerHour, range.last + kMsPerHour};
}

} // namespace

TrendChart::TrendChart(const QString& title, Qt::Alignment legendSide, QWidget* parent)
    : QChartView(new QChart, parent) {
    chart()->setTitle(title);
    chart()->legend()->setAlignment(legendSide);
    chart()->setMargins(QMargins());
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::HorizontalRubberBand);
    setAccessibleName(title);
}

void TrendChart::SetSource(const Source& source) {
    source_ = source;
}

void TrendChart::SetHidden(const std::set<std::string>& hidden) {
    hidden_ = hidden;
}

void TrendChart::SetLogScale(bool logScale) {
    logScale_ = logScale;
}

void TrendChart::SetBands(bool shown) {
    bandsShown_ = shown;
}

void TrendChart::ResetZoom() {
    zoom_.reset();
    Redraw();
}

void TrendChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    // The plot's width sets the number of buckets, so points follow the width.
    QTimer::singleShot(0, this, &TrendChart::Redraw);
}

void TrendChart::Clear() {
    chart()->removeAllSeries();
    for (QAbstractAxis* axis : chart()->axes()) {
        chart()->removeAxis(axis);
        delete axis;
    }
    drawn_.clear();
    valueAxes_.clear();
    timeAxis_ = nullptr;
    drawnPoints_ = 0;
    drawnBands_ = 0;
}

void TrendChart::Redraw() {
    redrawing_ = true;
    Clear();
    const std::optional<charts::TimeRange> span =
        source_.axisTimes ? charts::SpanOf(*source_.axisTimes) : std::nullopt;
    if (!span || !source_.series) {
        redrawing_ = false;
        return;
    }
    const charts::TimeRange range = zoom_.value_or(*span);
    // Before the first layout the plot has no width yet; the view's width stands in.
    const qreal plotWidth = chart()->plotArea().width();
    const int buckets = std::max(1, static_cast<int>(plotWidth >= 2 ? plotWidth : width()));

    QMap<QString, Bounds> bounds;
    for (const charts::ChartSeries& series : *source_.series) {
        if (hidden_.count(series.key) != 0) {
            continue;
        }
        Drawn drawn{&series, charts::ReduceToBuckets(*source_.axisTimes, series.values, range,
                                                     buckets, logScale_)};
        Bounds& unitBounds = bounds[QString::fromStdString(series.units)];
        for (const std::size_t i : drawn.kept) {
            unitBounds.Take(series.values[i]);
        }
        if (series.threshold && (!logScale_ || *series.threshold > 0)) {
            unitBounds.Take(*series.threshold);
        }
        drawn_.push_back(std::move(drawn));
    }

    auto* timeAxis = new QDateTimeAxis;
    const charts::TimeRange shown = Widened(range);
    timeAxis->setFormat(TimeFormat(shown.last - shown.first));
    timeAxis->setTickCount(std::clamp(buckets / kTickSpacing + 1, 2, 8));
    timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(shown.first)),
                       QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(shown.last)));
    chart()->addAxis(timeAxis, Qt::AlignBottom);
    timeAxis_ = timeAxis;
    for (auto it = bounds.cbegin(); it != bounds.cend(); ++it) {
        ValueAxis(it.key(), it.value().low, it.value().high);
    }
    AddBands(range);
    for (std::size_t i = 0; i < drawn_.size(); ++i) {
        AddSeries(i, range);
    }
    connect(timeAxis, &QDateTimeAxis::rangeChanged, this,
            [this](const QDateTime& first, const QDateTime& last) {
                OnTimeRangeChanged(static_cast<qreal>(first.toMSecsSinceEpoch()),
                                   static_cast<qreal>(last.toMSecsSinceEpoch()));
            });
    redrawing_ = false;
}

QAbstractAxis* TrendChart::ValueAxis(const QString& units, double low, double high) {
    if (!std::isfinite(low)) {
        low = logScale_ ? 1.0 : 0.0;
        high = logScale_ ? 10.0 : 1.0;
    }
    QAbstractAxis* axis = nullptr;
    if (logScale_) {
        auto* log = new QLogValueAxis;
        log->setLabelFormat(kValueFormat);
        log->setMinorTickCount(-1);
        log->setRange(low, std::max(high, low * 10.0));
        axis = log;
    } else {
        auto* linear = new QValueAxis;
        linear->setRange(low, high > low ? high : low + 1.0);
        linear->applyNiceNumbers();
        linear->setLabelFormat(kValueFormat);
        axis = linear;
    }
    axis->setTitleText(units);
    // Units alternate left and right, so two of them stay readable.
    const bool left = valueAxes_.size() % 2 == 0;
    chart()->addAxis(axis, left ? Qt::AlignLeft : Qt::AlignRight);
    valueAxes_.insert(units, axis);
    return axis;
}

// Added before the lines, so the lines are drawn over them; the value axis cuts them to the
// values shown.
void TrendChart::AddBands(charts::TimeRange range) {
    const auto banded = std::find_if(drawn_.begin(), drawn_.end(), [](const Drawn& drawn) {
        return drawn.series->pollutant.has_value();
    });
    if (!bandsShown_ || logScale_ || banded == drawn_.end()) {
        return;
    }
    QAbstractAxis* axis = valueAxes_.value(QString::fromStdString(banded->series->units));
    const charts::TimeRange shown = Widened(range);
    for (const iaq::ConcentrationBand& band : iaq::CategoryBands(*banded->series->pollutant)) {
        auto* area = new QAreaSeries;
        auto* lower = new QLineSeries(area);
        auto* upper = new QLineSeries(area);
        lower->append({{shown.first, band.from}, {shown.last, band.from}});
        upper->append({{shown.first, band.to}, {shown.last, band.to}});
        area->setLowerSeries(lower);
        area->setUpperSeries(upper);
        // Named by its object name: a series name would widen the legend, hidden markers included.
        area->setObjectName(QString::fromUtf8(iaq::CategoryName(band.category)));
        const table::Rgb rgb = iaq::CategoryColor(band.category);
        area->setBrush(QColor(rgb.red, rgb.green, rgb.blue, kBandAlpha));
        area->setPen(Qt::NoPen);
        chart()->addSeries(area);
        area->attachAxis(timeAxis_);
        area->attachAxis(axis);
        for (QLegendMarker* marker : chart()->legend()->markers(area)) {
            marker->setVisible(false);
        }
        ++drawnBands_;
    }
}

void TrendChart::AddSeries(std::size_t index, charts::TimeRange range) {
    const Drawn& drawn = drawn_[index];
    const charts::ChartSeries& series = *drawn.series;
    const auto position = static_cast<std::size_t>(&series - source_.series->data());
    const QColor color = SeriesColor(position);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(drawn.kept.size()));
    for (const std::size_t i : drawn.kept) {
        points.append({(*source_.axisTimes)[i], series.values[i]});
    }
    drawnPoints_ += points.size();
    auto* line = new QLineSeries;
    line->setName(SeriesName(series));
    line->setColor(color);
    line->replace(points);
    chart()->addSeries(line);
    QAbstractAxis* axis = valueAxes_.value(QString::fromStdString(series.units));
    line->attachAxis(timeAxis_);
    line->attachAxis(axis);
    connect(line, &QLineSeries::hovered, this, [this, index](const QPointF& point, bool state) {
        if (state) {
            ShowPointTip(drawn_[index], point);
        } else {
            QToolTip::hideText();
        }
    });
    AddThreshold(series, color, range, axis);
}

void TrendChart::AddThreshold(const charts::ChartSeries& series, const QColor& color,
                              charts::TimeRange range, QAbstractAxis* axis) {
    if (!series.threshold || (logScale_ && *series.threshold <= 0)) {
        return;
    }
    const charts::TimeRange shown = Widened(range);
    auto* line = new QLineSeries;
    line->setName(SeriesName(series));
    line->append(shown.first, *series.threshold);
    line->append(shown.last, *series.threshold);
    line->setPen(QPen(color, 1.5, Qt::DashLine));
    chart()->addSeries(line);
    line->attachAxis(timeAxis_);
    line->attachAxis(axis);
    for (QLegendMarker* marker : chart()->legend()->markers(line)) {
        marker->setVisible(false);
    }
}

void TrendChart::OnTimeRangeChanged(qreal first, qreal last) {
    if (redrawing_) {
        return;
    }
    // A drag zoomed in (or a right click out): thin the data again for the new span.
    zoom_ = charts::TimeRange{first, last};
    QTimer::singleShot(0, this, &TrendChart::Redraw);
}

void TrendChart::ShowPointTip(const Drawn& drawn, const QPointF& point) {
    if (drawn.kept.empty()) {
        return;
    }
    const auto& times = *source_.axisTimes;
    const std::size_t nearest = *std::min_element(
        drawn.kept.begin(), drawn.kept.end(), [&times, &point](std::size_t a, std::size_t b) {
            return std::abs(times[a] - point.x()) < std::abs(times[b] - point.x());
        });
    const std::int32_t location = source_.data->locations[nearest];
    const QString name = source_.locationNames ? source_.locationNames->value(location) : QString();
    table::TimestampText timestamp;
    const QString text =
        tr("%1\nLocation %2 %3\n%4: %5")
            .arg(QString::fromStdString(timestamp.Format(source_.data->times[nearest])))
            .arg(location)
            .arg(name)
            .arg(NameWithUnits(*drawn.series))
            .arg(QLocale().toString(drawn.series->values[nearest], 'g', 6));
    QToolTip::showText(QCursor::pos(), text, this);
}

} // namespace kestrix::gui
