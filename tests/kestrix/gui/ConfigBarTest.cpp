#include "kestrix/gui/main/ConfigBar.h"

#include "MainWindowFixture.h"
#include "kestrix/gui/main/CollapsibleGroup.h"
#include "kestrix/table/tableRowKinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <regex>

namespace kestrix::gui::testing {
namespace {

// Placed in a group of the bar, whether the group is open or not.
bool Hosted(const ConfigBar& bar, const char* name) {
    QWidget* control = bar.Control(name);
    for (QWidget* parent = control->parentWidget(); parent; parent = parent->parentWidget()) {
        if (qobject_cast<CollapsibleGroup*>(parent)) {
            return !control->isHidden();
        }
    }
    return false;
}

TEST_F(MainWindowTest, IaqItemsComeAndGoWithTheRecordSetAndGroupsKeepTheirState) {
    ConfigBar& bar = *window->Bar();
    EXPECT_FALSE(Hosted(bar, "chkShowMassConcentrations"));
    bar.Group("particle")->SetOpen(false);

    struct Case {
        const char* sensor;
        bool iaq;
    };
    for (const Case& c :
         {Case{"Monitor iAq 3", true}, Case{"Counter 5000", false}, Case{"IAQ", true}}) {
        ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet(c.sensor)));
        EXPECT_EQ(Hosted(bar, "chkShowMassConcentrations"), c.iaq) << c.sensor;
        EXPECT_EQ(Hosted(bar, "chkShowParticulateMatter"), c.iaq) << c.sensor;
        EXPECT_TRUE(Hosted(bar, "chkShowSampleTime"));
        EXPECT_FALSE(bar.Group("particle")->IsOpen());
        EXPECT_TRUE(bar.Group("analog")->IsOpen());
    }
}

TEST_F(MainWindowTest, LoadingSettingsStoresNothingAndToleratesHandEditedValues) {
    store.SetConfigValue(modConfig::kUnitTemperature, 99);
    store.SetConfigValue(modConfig::kParticleDifferential, 7);
    store.SetConfigValue(modConfig::kShowSampleTime, 0);
    QSignalSpy changes(window->Bar(), &ConfigBar::OptionChanged);
    window->Bar()->LoadViewOptions(store);

    EXPECT_EQ(changes.count(), 0);
    // A unit code outside its quantity's codes reads as the default, degrees Fahrenheit.
    EXPECT_EQ(window->Bar()->findChild<QComboBox*>("cmbUnitsTemperature")->currentIndex(), 0);
    EXPECT_EQ(window->Bar()->findChild<QComboBox*>("cmbPartType")->currentText(), "Differential");
    EXPECT_FALSE(window->Bar()->findChild<QCheckBox*>("chkShowSampleTime")->isChecked());
    window->RefreshTable();
    EXPECT_GT(window->Grid().RowCount(), 0);
}

TEST_F(MainWindowTest, TheIsoDatesBoxSwitchesTheTimestamps) {
    ASSERT_TRUE(window->TakeRecordSet(SmallRecordSet("Counter 5000")));
    const int row = table::testing::FindRow(window->Grid(), table::kRowData);
    const std::regex iso("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");
    EXPECT_FALSE(std::regex_match(window->Grid().ShownText(1, row), iso));
    window->Bar()->findChild<QCheckBox*>("chkIsoDates")->click();
    EXPECT_TRUE(store.Get(modConfig::settings::kIsoDates));
    EXPECT_TRUE(std::regex_match(window->Grid().ShownText(1, row), iso))
        << window->Grid().ShownText(1, row);
}

TEST_F(MainWindowTest, TheBarIsNeverNarrowerThanItsWidestControl) {
    // A stored width far below the controls' is raised to theirs.
    window->RestoreState({0, 0, 1000, 700, false, 20});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const ConfigBar& bar = *window->Bar();
    EXPECT_GE(bar.viewport()->width(), bar.widget()->minimumSizeHint().width());
    EXPECT_GE(bar.width(), bar.minimumSizeHint().width());
}

} // namespace
} // namespace kestrix::gui::testing
