#include "kestrix/gui/charts/ChartPanel.h"

#include "kestrix/base/dateTime.h"
#include "kestrix/data/clsDataRecordSet.h"
#include "kestrix/gui/charts/TrendChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QSvgGenerator>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

namespace kestrix::gui {
namespace {

constexpr double kMsPerDay = 86400000.0;

// Time stamps are local wall-clock times, which the time axis reads as local time too.
double AxisTime(base::DateTime value) {
    const base::CivilDateTime civil = base::ToCivilDateTime(value);
    return static_cast<double>(
        QDateTime(QDate(civil.year, civil.month, civil.day),
                  QTime(civil.hour, civil.minute, civil.second, civil.millisecond))
            .toMSecsSinceEpoch());
}

// The records of a day share its midnight, which saves a time-zone look-up per record; a day
// that is not 24 hours long (a clock change) is converted record by record.
std::vector<double> AxisTimes(const std::vector<double>& times) {
    std::vector<double> axis;
    axis.reserve(times.size());
    double cachedDay = std::nan("");
    double midnight = 0.0;
    bool regularDay = false;
    for (const double time : times) {
        if (!std::isfinite(time)) {
            axis.push_back(std::nan(""));
            continue;
        }
        const double day = std::floor(time);
        if (day != cachedDay) {
            cachedDay = day;
            midnight = AxisTime(day);
            regularDay = AxisTime(day + 1.0) - midnight == kMsPerDay;
        }
        axis.push_back(regularDay ? midnight + std::round((time - day) * kMsPerDay)
                                  : AxisTime(time));
    }
    return axis;
}

std::vector<charts::ChartSeries> SeriesOf(const std::vector<charts::ChartSeries>& list,
                                          iaq::Pollutant pollutant) {
    std::vector<charts::ChartSeries> of;
    for (const charts::ChartSeries& series : list) {
        if (series.pollutant == pollutant) {
            of.push_back(series);
        }
    }
    return of;
}

QString ChoiceText(const charts::LocationChoice& choice) {
    return QStringLiteral("%1 %2").arg(choice.id).arg(QString::fromStdString(choice.name));
}

} // namespace

ChartPanel::ChartPanel(const modConfig::ConfigStore& store, QWidget* parent)
    : QWidget(parent), store_(store), locationList_(new QComboBox),
      logScale_(new QCheckBox(tr("Lo&garithmic"))), aqiBands_(new QCheckBox(tr("AQI &Bands"))),
      seriesButton_(new QToolButton), seriesMenu_(new QMenu(this)),
      chartArea_(new QSplitter(Qt::Vertical)),
      counts_(new TrendChart(tr("Particle Counts"), Qt::AlignRight)),
      environmental_(new TrendChart(tr("Environmental"), Qt::AlignBottom)),
      pm2_5_(new TrendChart(tr("PM2.5"), Qt::AlignRight)),
      pm10_(new TrendChart(tr("PM10"), Qt::AlignRight)) {
    setObjectName(QStringLiteral("chartPanel"));
    locationList_->setObjectName(QStringLiteral("cmbChartLocation"));
    locationList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    locationList_->setMinimumContentsLength(12);
    logScale_->setObjectName(QStringLiteral("chkLogScale"));
    aqiBands_->setObjectName(QStringLiteral("chkAqiBands"));
    aqiBands_->setToolTip(tr("The Air Quality Index's categories behind PM2.5 and PM10"));
    seriesButton_->setObjectName(QStringLiteral("cmdChartSeries"));
    seriesButton_->setText(tr("&Series"));
    seriesButton_->setMenu(seriesMenu_);
    seriesButton_->setPopupMode(QToolButton::InstantPopup);
    auto* resetZoom = new QPushButton(tr("&Reset Zoom"));
    resetZoom->setObjectName(QStringLiteral("cmdResetZoom"));
    auto* exportButton = new QPushButton(tr("&Export..."));
    exportButton->setObjectName(QStringLiteral("cmdExportChart"));
    counts_->setObjectName(QStringLiteral("chtCounts"));
    environmental_->setObjectName(QStringLiteral("chtEnvironmental"));
    pm2_5_->setObjectName(QStringLiteral("chtPm2_5"));
    pm10_->setObjectName(QStringLiteral("chtPm10"));

    auto* locationLabel = new QLabel(tr("&Location:"));
    locationLabel->setBuddy(locationList_);
    auto* controls = new QHBoxLayout;
    controls->addWidget(locationLabel);
    controls->addWidget(locationList_, 1);
    controls->addWidget(seriesButton_);
    controls->addWidget(logScale_);
    controls->addWidget(aqiBands_);
    controls->addWidget(resetZoom);
    controls->addWidget(exportButton);
    chartArea_->addWidget(counts_);
    chartArea_->addWidget(environmental_);
    chartArea_->addWidget(pm2_5_);
    chartArea_->addWidget(pm10_);
    // Until IAQ data comes.
    for (QWidget* widget : std::initializer_list<QWidget*>{pm2_5_, pm10_, aqiBands_}) {
        widget->hide();
    }
    chartArea_->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    layout->addLayout(controls);
    layout->addWidget(chartArea_, 1);

    connect(locationList_, &QComboBox::activated, this, &ChartPanel::OnLocationChosen);
    connect(logScale_, &QCheckBox::toggled, this, [this](bool checked) {
        state_.logScale = checked;
        counts_->SetLogScale(checked);
        counts_->Redraw();
    });
    connect(aqiBands_, &QCheckBox::toggled, this, [this](bool checked) {
        state_.aqiBands = checked;
        for (TrendChart* chart : {pm2_5_, pm10_}) {
            chart->SetBands(checked);
            chart->Redraw();
        }
    });
    connect(resetZoom, &QPushButton::clicked, this, [this] {
        for (TrendChart* chart : AllCharts()) {
            chart->ResetZoom();
        }
    });
    connect(exportButton, &QPushButton::clicked, this, &ChartPanel::ExportRequested);
    connect(&store.Changes(), &modConfig::SettingChanges::Changed, this,
            [this](modConfig::ConfigSetting setting) {
                if (modConfig::Definition(setting).IsViewOption()) {
                    Refresh();
                }
            });
}

void ChartPanel::SetSource(data::clsDataRecordSet* recordSet) {
    recordSet_ = recordSet;
    Refresh();
}

void ChartPanel::SetState(const charts::ChartState& state) {
    state_ = state;
    state_.shown = false;
    Refresh();
}

void ChartPanel::Refresh() {
    stale_ = true;
    if (isVisible()) {
        Rebuild();
    }
}

void ChartPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) {
        Rebuild();
    }
}

void ChartPanel::Rebuild() {
    stale_ = false;
    options_ = table::ReadTableViewOptions(store_);
    allData_ = {};
    if (recordSet_) {
        try {
            allData_ = charts::BuildChartData(*recordSet_, options_);
        } catch (const std::exception&) {
            // The table reports the same failure; the charts stay empty.
            allData_ = {};
        }
    }
    FillLocationList();
    ShowLocation();
}

void ChartPanel::ShowLocation() {
    data_ = charts::ForLocation(allData_, state_.location);
    axisTimes_ = AxisTimes(data_.times);
    counts_->SetSource({&data_.counts, &data_, &axisTimes_, &locationNames_});
    environmental_->SetSource({&data_.environmental, &data_, &axisTimes_, &locationNames_});
    pm2_5Series_ = SeriesOf(data_.particulateMatter, iaq::Pollutant::Pm2_5);
    pm10Series_ = SeriesOf(data_.particulateMatter, iaq::Pollutant::Pm10);
    pm2_5_->SetSource({&pm2_5Series_, &data_, &axisTimes_, &locationNames_});
    pm10_->SetSource({&pm10Series_, &data_, &axisTimes_, &locationNames_});
    const bool pm = !data_.particulateMatter.empty();
    for (QWidget* widget : std::initializer_list<QWidget*>{pm2_5_, pm10_, aqiBands_}) {
        widget->setVisible(pm);
    }
    FillSeriesMenu();
    ApplyState();
}

void ChartPanel::FillLocationList() {
    locationList_->clear();
    locationNames_.clear();
    locationList_->addItem(tr("All Locations"));
    if (!recordSet_) {
        state_.location.reset();
        return;
    }
    bool chosenPresent = false;
    for (const charts::LocationChoice& choice :
         charts::LocationChoices(allData_, *recordSet_, options_, store_)) {
        locationNames_.insert(choice.id, QString::fromStdString(choice.name));
        locationList_->addItem(ChoiceText(choice), choice.id);
        chosenPresent = chosenPresent || (state_.location && *state_.location == choice.id);
    }
    // A location the new data does not have would leave the charts empty.
    if (!chosenPresent) {
        state_.location.reset();
    }
    locationList_->setCurrentIndex(state_.location ? locationList_->findData(*state_.location) : 0);
}

void ChartPanel::FillSeriesMenu() {
    seriesMenu_->clear();
    for (const auto* list : {&data_.counts, &data_.environmental, &data_.particulateMatter}) {
        if (!seriesMenu_->isEmpty() && !list->empty()) {
            seriesMenu_->addSeparator();
        }
        for (const charts::ChartSeries& series : *list) {
            QAction* action = seriesMenu_->addAction(
                QString::fromStdString(series.title + " " + series.units).trimmed());
            action->setObjectName(QString::fromStdString(series.key));
            action->setCheckable(true);
            action->setChecked(state_.hiddenSeries.count(series.key) == 0);
            const std::string key = series.key;
            connect(action, &QAction::toggled, this,
                    [this, key](bool shown) { OnSeriesToggled(key, shown); });
        }
    }
}

void ChartPanel::ApplyState() {
    const QSignalBlocker logBlocker(logScale_);
    const QSignalBlocker bandsBlocker(aqiBands_);
    logScale_->setChecked(state_.logScale);
    aqiBands_->setChecked(state_.aqiBands);
    counts_->SetLogScale(state_.logScale);
    for (TrendChart* chart : AllCharts()) {
        chart->SetBands(state_.aqiBands);
        chart->SetHidden(state_.hiddenSeries);
        chart->ResetZoom();
    }
}

void ChartPanel::OnLocationChosen(int index) {
    const QVariant id = locationList_->itemData(index);
    state_.location = id.isValid() ? std::optional<std::int32_t>(id.toInt()) : std::nullopt;
    ShowLocation();
}

void ChartPanel::OnSeriesToggled(const std::string& key, bool shown) {
    if (shown) {
        state_.hiddenSeries.erase(key);
    } else {
        state_.hiddenSeries.insert(key);
    }
    for (TrendChart* chart : AllCharts()) {
        chart->SetHidden(state_.hiddenSeries);
        chart->Redraw();
    }
}

std::array<TrendChart*, 4> ChartPanel::AllCharts() const {
    return {counts_, environmental_, pm2_5_, pm10_};
}

bool ChartPanel::ExportTo(const QString& path) {
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) != 0) {
        return chartArea_->grab().save(path, "PNG");
    }
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(chartArea_->size());
    generator.setViewBox(chartArea_->rect());
    generator.setTitle(tr("Kestrix Charts"));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return false;
    }
    chartArea_->render(&painter);
    return painter.end() && QFileInfo(path).size() > 0;
}

} // namespace kestrix::gui
