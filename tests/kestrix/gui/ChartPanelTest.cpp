#include "kestrix/gui/charts/ChartPanel.h"

#include "MainWindowFixture.h"
#include "kestrix/gui/charts/TrendChart.h"
#include "kestrix/iaq/IaqExample.h"
#include "kestrix/shell/modConfig.h"

#include <QAbstractAxis>
#include <QAction>
#include <QAreaSeries>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineSeries>
#include <QMenu>
#include <gmock/gmock.h>

namespace kestrix::gui::testing {
namespace {

QStringList SeriesNames(const TrendChart& chart) {
    QStringList names;
    for (QAbstractSeries* series : chart.chart()->series()) {
        const bool band = qobject_cast<QAreaSeries*>(series) != nullptr;
        names << (band ? series->objectName() : series->name());
    }
    return names;
}

TEST_F(MainWindowTest, ChartsShowSwitchSeriesLogScaleAndExport) {
    window->show();
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("IAQ 3016", 4)));
    ChartPanel& panel = *window->Charts();
    EXPECT_FALSE(panel.isVisible());

    window->Action(window::MainCommand::ToggleCharts)->trigger();
    ASSERT_TRUE(panel.isVisible());
    EXPECT_TRUE(window->Action(window::MainCommand::ToggleCharts)->isChecked());
    EXPECT_EQ(SeriesNames(*panel.Counts()),
              QStringList({"0.3 micron", "0.5 micron", "1.0 micron"}));
    EXPECT_EQ(panel.Environmental()->chart()->series().size(), 2);
    EXPECT_EQ(panel.LocationList()->count(), 5); // all, then locations 1 to 4

    panel.SeriesMenu()->findChild<QAction*>("0.5")->trigger();
    EXPECT_EQ(SeriesNames(*panel.Counts()), QStringList({"0.3 micron", "1.0 micron"}));
    panel.LogScaleBox()->click();
    const auto axes = panel.Counts()->chart()->axes(Qt::Vertical);
    ASSERT_EQ(axes.size(), 1);
    EXPECT_EQ(axes[0]->type(), QAbstractAxis::AxisTypeLogValue);

    // A unit change redraws the environmental chart in the new unit.
    window->OnViewOptionChanged(modConfig::kUnitTemperature, modUnits::kUnitKelvin);
    QStringList units;
    for (const QAbstractAxis* axis : panel.Environmental()->chart()->axes(Qt::Vertical)) {
        units << axis->titleText();
    }
    EXPECT_THAT(units.join('|').toStdString(), ::testing::HasSubstr("(K)"));

    const charts::ChartState state = window->ChartsState();
    EXPECT_TRUE(state.shown);
    EXPECT_TRUE(state.logScale);
    EXPECT_EQ(state.hiddenSeries, std::set<std::string>{"0.5"});

    for (const QString& name : {QStringLiteral("trend.png"), QStringLiteral("trend.svg")}) {
        dialogs.files.push_back({Path(name), name.endsWith("svg") ? 1 : 0});
        panel.findChild<QAbstractButton*>("cmdExportChart")->click();
        EXPECT_GT(QFileInfo(Path(name)).size(), 0) << name.toStdString();
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// The bands lie behind the line, one per category, until switched off; other data has no PM charts.
TEST_F(MainWindowTest, PmChartsShowTheIndexBandsUntilSwitchedOff) {
    window->show();
    ASSERT_TRUE(window->TakeRecordSet(iaq::testing::MakeIaqRecordSet()));
    window->Action(window::MainCommand::ToggleCharts)->trigger();
    ChartPanel& panel = *window->Charts();
    for (TrendChart* chart : {panel.Pm2_5(), panel.Pm10()}) {
        ASSERT_TRUE(chart->isVisible());
        EXPECT_EQ(chart->DrawnBandCount(), iaq::kAqiCategoryCount);
        const QStringList names = SeriesNames(*chart);
        EXPECT_EQ(names.first(), "Good");
        EXPECT_EQ(names.last(), chart == panel.Pm2_5() ? "PM2.5" : "PM10.0");
    }
    panel.AqiBandsBox()->click();
    EXPECT_EQ(panel.Pm2_5()->DrawnBandCount(), 0);
    EXPECT_EQ(SeriesNames(*panel.Pm10()), QStringList{"PM10.0"});
    EXPECT_FALSE(window->ChartsState().aqiBands);

    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
    EXPECT_FALSE(panel.Pm2_5()->isVisible());
    EXPECT_FALSE(panel.AqiBandsBox()->isVisible());
}

} // namespace
} // namespace kestrix::gui::testing
