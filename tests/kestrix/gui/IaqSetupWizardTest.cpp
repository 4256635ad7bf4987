#include "kestrix/gui/wizards/IaqSetupWizard.h"

#include "MainWindowFixture.h"
#include "WizardDriver.h"
#include "kestrix/shell/userLocale.h"

#include <QCheckBox>
#include <QLineEdit>
#include <gmock/gmock.h>

namespace kestrix::gui::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class IaqSetupWizardTest : public MainWindowTest {
protected:
    void TearDown() override { SetUserLocale(QLocale::system()); }

    void Start(const std::string& scenario) {
        simulator = StartScenario(scenario, Path("scenario.json"), store);
    }

    IaqSetupWizard& wizard() { return *window->IaqWiz(); }
    QLineEdit& box() { return *wizard().NewDensityBox(); }
    QString InstrumentDensity() {
        return wizard().findChild<QLabel*>("lbl4InstrumentDensityValue")->text();
    }

    // From the welcome to the identity shown.
    void Identify() {
        Click(wizard().NextButton());
        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 3);
        ASSERT_TRUE(WaitFor([this] { return LabelShown(wizard(), "lbl3Connected"); }));
    }

    // Types into the box as a user does and leaves it.
    void Type(const QString& text) {
        box().setFocus();
        box().selectAll();
        QTest::keyClicks(&box(), text);
        QFocusEvent leave(QEvent::FocusOut);
        QApplication::sendEvent(&box(), &leave);
    }

    // Step 4 to the written density.
    void WriteNewDensity(const QString& typed) {
        wizard().ChangeBox()->click();
        Type(typed);
        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 5);
        ASSERT_TRUE(WaitFor([this] { return LabelShown(wizard(), "lbl5Done"); }));
        EXPECT_TRUE(LabelShown(wizard(), "lbl5DownloadInfo"));
        EXPECT_EQ(wizard().CancelButton()->text(), "&Close");
    }

    std::string StoppedState() {
        simulator->Stop();
        return simulator->StateText();
    }

    std::unique_ptr<sim::test::SimProcess> simulator;
};

TEST_F(IaqSetupWizardTest, AFullRunFromTheMainWindowWritesTheTypedDensity) {
    Start(R"({"preset": "iaq-fast", "identity": {"density_x1000": 2500}})");
    dialogs.onModal = [this](QDialog& dialog) {
        dialog.show();
        Identify();
        EXPECT_FALSE(wizard().findChild<QLabel*>("lbl3Records")->isVisible());
        Click(wizard().NextButton());
        ASSERT_EQ(wizard().Step(), 4);
        EXPECT_EQ(InstrumentDensity(), "2.500");
        EXPECT_EQ(box().displayText(), "2.500");
        WriteNewDensity("1.2");
        EXPECT_EQ(box().displayText(), "1.200");
        Click(wizard().CancelButton());
    };
    window->RunCommand(window::MainCommand::SetupIaqInstrument);
    ASSERT_EQ(dialogs.modalDialogs.size(), 1U);
    EXPECT_EQ(dialogs.modalDialogs[0], &wizard());
    EXPECT_FALSE(wizard().isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_THAT(StoppedState(), HasSubstr("\"density_x1000\": 1200"));
    EXPECT_THAT(ArchivedKinds(), ElementsAre("density change"));
}

TEST_F(IaqSetupWizardTest, TheCheckBoxDecidesWhatTheDensityStepOffers) {
    Start(R"({"preset": "iaq-fast"})");
    wizard().show();
    Identify();
    Click(wizard().NextButton());
    for (const bool change : {false, true, false, true}) {
        if (wizard().ChangeBox()->isChecked() != change) {
            wizard().ChangeBox()->click();
        }
        EXPECT_EQ(box().isEnabled(), change);
        EXPECT_EQ(LabelShown(wizard(), "lbl4NextInfo"), change);
        EXPECT_EQ(wizard().NextButton()->isVisible(), change);
        EXPECT_EQ(wizard().NextButton()->isEnabled(), change);
        EXPECT_EQ(wizard().CancelButton()->text(), change ? "&Cancel" : "&Close");
    }

    // Zero is refused, and the wizard stays at the density.
    Type("0.000");
    Click(wizard().NextButton());
    ASSERT_TRUE(WaitFor([this] { return !dialogs.messages.empty(); }));
    EXPECT_EQ(dialogs.messages[0].text, "The density value cannot be zero!");
    EXPECT_EQ(dialogs.messages[0].title, "Configuration Error");
    EXPECT_EQ(wizard().Step(), 4);
    EXPECT_THAT(StoppedState(), HasSubstr("\"density_x1000\": 1650"));
}

// A density typed for one instrument must never be written to the next.
TEST_F(IaqSetupWizardTest, EachShowingStartsUntickedAtTheInstrumentsDensity) {
    Start(R"({"preset": "iaq-fast", "identity": {"density_x1000": 2500}})");
    wizard().show();
    Identify();
    Click(wizard().NextButton());
    WriteNewDensity("1.2");
    Click(wizard().PrevButton());
    ASSERT_TRUE(WaitFor([this] { return wizard().Step() == 4; }));
    EXPECT_EQ(InstrumentDensity(), "1.200"); // read back, not the 2.500 of the identification
    EXPECT_FALSE(wizard().ChangeBox()->isChecked());
    EXPECT_EQ(box().displayText(), "1.200");
    Click(wizard().CancelButton());
    ASSERT_FALSE(wizard().isVisible());

    simulator.reset();
    Start(R"({"preset": "iaq-fast", "identity": {"density_x1000": 1650}})");
    wizard().show();
    EXPECT_FALSE(wizard().ChangeBox()->isChecked());
    Identify();
    Click(wizard().NextButton());
    ASSERT_EQ(wizard().Step(), 4);
    EXPECT_FALSE(wizard().ChangeBox()->isChecked());
    EXPECT_FALSE(wizard().NextButton()->isVisible());
    EXPECT_EQ(InstrumentDensity(), "1.650");
    EXPECT_EQ(box().displayText(), "1.650");
    Click(wizard().CancelButton());
    EXPECT_THAT(StoppedState(), HasSubstr("\"density_x1000\": 1650"));
}

TEST_F(IaqSetupWizardTest, TheLocalesCommaSeparatesTheDecimals) {
    SetUserLocale(QLocale(QLocale::German, QLocale::Germany));
    OpenWindow();
    Start(R"({"preset": "iaq-fast", "identity": {"density_x1000": 2500}})");
    wizard().show();
    Identify();
    Click(wizard().NextButton());
    EXPECT_EQ(InstrumentDensity(), "2,500");
    EXPECT_EQ(box().displayText(), "2,500");
    WriteNewDensity("1,2");
    EXPECT_EQ(box().displayText(), "1,200");
    EXPECT_THAT(StoppedState(), HasSubstr("\"density_x1000\": 1200"));
}

TEST_F(IaqSetupWizardTest, AnInstrumentThatIsNotIaqGoesNoFurther) {
    Start(R"({"preset": "standard"})");
    wizard().show();
    Identify();
    EXPECT_THAT(wizard().findChild<QLabel*>("lbl3Download")->text().toStdString(),
                HasSubstr("This is not an IAQ instrument."));
    EXPECT_FALSE(wizard().NextButton()->isEnabled());
}

} // namespace
} // namespace kestrix::gui::testing
