// My Locations, its edit dialog and the save-names dialog, driven through their controls.

#include "MainWindowFixture.h"
#include "kestrix/gui/locations/LocationEditDialog.h"
#include "kestrix/gui/locations/LocationsDialog.h"
#include "kestrix/gui/locations/SaveLocationsDialog.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

namespace kestrix::gui::testing {
namespace {

class LocationDialogsTest : public MainWindowTest {
protected:
    LocationsDialog& locations() { return *window->Locations(); }
    LocationEditDialog& edit() { return *locations().EditDialog(); }

    void ClickHeader(int column) {
        QHeaderView& header = *locations().List()->header();
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                          QPoint(header.sectionViewportPosition(column) + 5, 5));
    }
    QString FirstShortName() { return locations().List()->topLevelItem(0)->text(1); }
};

TEST_F(LocationDialogsTest, TheShortNameBoxKeepsOnlyWhatAShortNameMayHold) {
    const struct {
        QString typed;
        bool pasted;
        QString kept;
    } cases[] = {
        {"lobby 1", false, "LOBBY_1"},
        {"a.b-c", false, "ABC"},
        {"room 12.x", true, "ROOM_12X"},
        {"verylongname", false, "VERYLONG"},
    };
    edit().SetLocationID(7);
    edit().show();
    EXPECT_EQ(edit().windowTitle(), "Location Name 007");
    QLineEdit& box = *edit().ShortNameBox();
    for (const auto& c : cases) {
        box.clear();
        if (c.pasted) {
            box.insert(c.typed);
        } else {
            QTest::keyClicks(&box, c.typed);
        }
        EXPECT_EQ(box.text(), c.kept) << c.typed.toStdString();
    }
}

TEST_F(LocationDialogsTest, OkStoresOnlyNamesThatPassTheChecks) {
    store.SetShortLocationName(4, "LAB");
    const struct {
        QString shortName;
        QString longName;
        const char* message; // none: stored
        bool shortBoxFocused;
    } cases[] = {
        {"", "Lab", "You must give a name to all short names!", true},
        {"LAB", "Lab",
         "This short name already exists.  All short names must be unique.  Please "
         "enter a different name.",
         true},
        {"LOBBY", "  ", "You must give the location a name!", false},
        {"LOC003", "Third", nullptr, false}, // its own name again
    };
    edit().SetLocationID(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shortName.toStdString());
        dialogs.messages.clear();
        edit().show();
        QApplication::setActiveWindow(&edit());
        edit().ShortNameBox()->setText(c.shortName);
        edit().LongNameBox()->setText(c.longName);
        edit().accept();
        if (!c.message) {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_TRUE(edit().WasOkClicked());
            EXPECT_FALSE(edit().isVisible());
            EXPECT_EQ(store.GetLongLocationName(3), "Third");
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1U);
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].title, "Configuration Error");
        EXPECT_EQ(QApplication::focusWidget(),
                  c.shortBoxFocused ? edit().ShortNameBox() : edit().LongNameBox());
        EXPECT_TRUE(edit().isVisible());
        EXPECT_EQ(store.GetShortLocationName(3), "LOC003");
    }
}

TEST_F(LocationDialogsTest, TheListSortsEditsByEnterAndTracksChanges) {
    dialogs.onModal = [this](QDialog& dialog) {
        dialog.show();
        if (&dialog != &edit()) {
            return;
        }
        edit().ShortNameBox()->setText("AAA");
        edit().accept();
    };
    window->RunCommand(window::MainCommand::SetupMyLocations);
    QTreeWidget& list = *locations().List();
    ASSERT_EQ(list.topLevelItemCount(), 1000);
    EXPECT_FALSE(locations().WasModified());

    ClickHeader(1);
    EXPECT_EQ(FirstShortName(), "LOC000");
    ClickHeader(1);
    EXPECT_EQ(FirstShortName(), "LOC999");

    list.setCurrentItem(list.topLevelItem(4)); // LOC995
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(store.GetShortLocationName(995), "AAA");
    EXPECT_EQ(list.currentItem()->text(1), "AAA");
    EXPECT_EQ(list.topLevelItem(999)->text(1), "AAA"); // sorted again, descending
    EXPECT_TRUE(locations().WasModified());

    locations().hide();
    locations().show();
    EXPECT_FALSE(locations().WasModified());
}

TEST_F(LocationDialogsTest, InstrumentNamesAreOfferedOnlyWhenTheDownloadHasThem) {
    table::testing::RecordSetSpec named;
    named.locationNames = {"HOME", "LOBBY"};
    const struct {
        std::shared_ptr<data::clsDataRecordSet> recordSet;
        bool offered;
    } cases[] = {
        {nullptr, false},
        {SmallRecordSet("Counter 5000"), false},
        {table::testing::MakeRecordSet(named, {table::testing::SampleSpec{}}), true},
    };
    for (const auto& c : cases) {
        SaveLocationsDialog dialog(store, dialogs);
        dialog.SetDataRecordSet(c.recordSet);
        EXPECT_EQ(dialog.InstrumentNamesOption()->isEnabled(), c.offered);
        EXPECT_FALSE(dialog.InstrumentNamesOption()->isChecked());
        EXPECT_TRUE(dialog.MyNamesOption()->isChecked());
    }
}

} // namespace
} // namespace kestrix::gui::testing
