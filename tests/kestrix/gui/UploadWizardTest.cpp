#include "kestrix/gui/wizards/UploadWizard.h"

#include "MainWindowFixture.h"
#include "WizardDriver.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QTreeWidget>
#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

namespace kestrix::gui::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class UploadWizardTest : public MainWindowTest {
protected:
    void Start(const std::string& scenario) {
        simulator = StartScenario(scenario, Path("scenario.json"), store);
    }

    UploadWizard& wizard() { return *window->UploadWiz(); }
    QString Text(const char* label) { return wizard().findChild<QLabel*>(label)->text(); }

    // From the welcome to the name count shown.
    void Identify() {
        Click(wizard().NextButton());
        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 3);
        ASSERT_TRUE(WaitFor([this] { return LabelShown(wizard(), "lbl3Connected"); }));
    }

    std::vector<std::string> InstrumentNames() {
        simulator->Stop();
        return nlohmann::json::parse(simulator->StateText())["location_names"]
            .get<std::vector<std::string>>();
    }

    std::unique_ptr<sim::test::SimProcess> simulator;
};

TEST_F(UploadWizardTest, EveryStepFromTheMainWindowToTheNamesOnTheInstrument) {
    Start(R"({"preset": "standard", "location_names": ["A", "B", "C"]})");
    for (const auto& [index, name] :
         std::vector<std::pair<int, std::string>>{{1, "LOBBY"}, {2, "LAB_2"}, {3, "ROOM_3"}}) {
        store.SetShortLocationName(index, name);
    }
    dialogs.onModal = [this](QDialog& dialog) {
        dialog.show();
        EXPECT_EQ(wizard().windowTitle(), "Location Name Upload Wizard: Step 1 of 5");
        Identify();
        EXPECT_EQ(Text("lbl3Locations"), "3");
        EXPECT_THAT(Text("lbl3Download").toStdString(), ::testing::StartsWith("Click the"));

        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 4);
        QTreeWidget& names = *wizard().NameList();
        ASSERT_EQ(names.topLevelItemCount(), 3);
        EXPECT_EQ(names.currentItem(), names.topLevelItem(0));
        EXPECT_EQ(names.topLevelItem(1)->text(0), "002");
        EXPECT_EQ(names.topLevelItem(1)->text(1), "LAB_2");
        QTest::mouseClick(names.header()->viewport(), Qt::LeftButton, {},
                          QPoint(names.header()->sectionPosition(1) + 5, 5));
        EXPECT_EQ(names.topLevelItem(0)->text(1), "LAB_2");

        // No to the overwrite question stays on the review; Yes uploads.
        dialogs.answers = {QMessageBox::No, QMessageBox::Yes};
        Click(wizard().NextButton());
        EXPECT_EQ(wizard().Step(), 4);
        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 5);
        ASSERT_TRUE(WaitFor([this] { return LabelShown(wizard(), "lbl5Done"); }));
        EXPECT_EQ(Text("lbl5ProgInfo"), "3/3");
        EXPECT_EQ(wizard().findChild<QProgressBar*>("pbar5Upload")->value(), 3);
        EXPECT_FALSE(LabelShown(wizard(), "lbl5DoNotDoAnything"));
        EXPECT_EQ(wizard().CancelButton()->text(), "&Close");
        Click(wizard().CancelButton());
    };
    window->RunCommand(window::MainCommand::UploadLocationNames);
    ASSERT_EQ(dialogs.modalDialogs.size(), 1U);
    EXPECT_FALSE(wizard().isVisible());
    ASSERT_EQ(dialogs.messages.size(), 2U);
    EXPECT_EQ(dialogs.messages[0].title, "Do you want to overwrite names?");
    EXPECT_THAT(InstrumentNames(), ElementsAre("LOBBY   ", "LAB_2   ", "ROOM_3  "));
    EXPECT_THAT(ArchivedKinds(), ElementsAre("name upload"));
}

TEST_F(UploadWizardTest, RefusedNamesAndInstrumentsStopBeforeAnyWrite) {
    struct Case {
        const char* scenario;
        std::string shortName2;
        const char* title;   // of the box shown, none when the instrument is refused at step 3
        const char* numbers; // the locations the box names
        int stepAfter;
        std::vector<std::string> namesKept;
    };
    const std::vector<Case> cases = {
        {R"({"preset": "standard", "location_names": ["A", "B"]})",
         "lab",
         "Invalid Location Name Found",
         "(number 002)",
         4,
         {"A", "B"}},
        {R"({"preset": "standard", "location_names": ["A", "B"]})",
         "LOC001",
         "Repeated Location Names",
         "(numbers 001, 002)",
         4,
         {"A", "B"}},
        {R"({"preset": "standard", "location_names": []})", "LAB", nullptr, nullptr, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shortName2);
        dialogs.messages.clear();
        Start(c.scenario);
        store.SetShortLocationName(2, c.shortName2);
        wizard().show();
        Identify();
        if (!c.title) {
            EXPECT_FALSE(wizard().NextButton()->isEnabled());
            EXPECT_THAT(Text("lbl3Download").toStdString(),
                        ::testing::StartsWith("This instrument does not support"));
        } else {
            Click(wizard().NextButton());
            // The review marks the refused name before anything is asked.
            auto* list = wizard().findChild<QTreeWidget*>("lst4LocationNames");
            const QTreeWidgetItem* row = list->findItems("002", Qt::MatchExactly, 0).value(0);
            ASSERT_NE(row, nullptr);
            EXPECT_FALSE(row->icon(1).isNull());
            EXPECT_FALSE(row->toolTip(1).isEmpty());
            Click(wizard().NextButton());
            ASSERT_EQ(dialogs.messages.size(), 1U); // no overwrite question
            EXPECT_EQ(dialogs.messages[0].title, c.title);
            EXPECT_THAT(dialogs.messages[0].text.toStdString(), HasSubstr(c.numbers));
        }
        EXPECT_EQ(wizard().isVisible() ? wizard().Step() : 0, c.stepAfter);
        wizard().hide();
        EXPECT_EQ(InstrumentNames(), c.namesKept);
    }
}

} // namespace
} // namespace kestrix::gui::testing
