// The real dialogs as the program shows them, closed by a scripted user.

#include "kestrix/gui/common/QtUserDialogs.h"

#include "MainWindowFixture.h"

#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace kestrix::gui::testing {
namespace {

class QtUserDialogsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }

    void SetUp() override {
        window.setCentralWidget(field);
        window.show();
        window.activateWindow();
        field->setFocus();
    }

    // Runs `user` once the next modal dialog is up.
    static void WhenShown(std::function<void(QWidget&)> user) {
        QTimer::singleShot(0, [user] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                user(*modal);
            }
        });
    }

    QMainWindow window;
    QLineEdit* field = new QLineEdit;
    QtUserDialogs dialogs;
};

TEST_F(QtUserDialogsTest, AQuestionsDefaultIsKeptAndTheWindowTakesTheKeyboardBack) {
    bool defaultWasNo = false;
    WhenShown([&defaultWasNo](QWidget& shown) {
        auto& box = dynamic_cast<QMessageBox&>(shown);
        defaultWasNo = box.defaultButton() == box.button(QMessageBox::No);
        box.button(QMessageBox::No)->click();
    });
    const auto answer = dialogs.Message(&window, {QStringLiteral("Close?"),
                                                  QStringLiteral("Warning"),
                                                  QMessageBox::Question,
                                                  QMessageBox::Yes | QMessageBox::No,
                                                  {},
                                                  QMessageBox::No});
    EXPECT_EQ(answer, QMessageBox::No);
    EXPECT_TRUE(defaultWasNo);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window);
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(QtUserDialogsTest, AClosedModalDialogGivesTheKeyboardBackToItsWindow) {
    QDialog wizard(&window);
    auto* own = new QLineEdit(&wizard);
    WhenShown([own](QWidget& shown) {
        own->setFocus();
        static_cast<QDialog&>(shown).accept();
    });
    dialogs.ShowModal(wizard);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window);
    EXPECT_EQ(QApplication::focusWidget(), field);
}

} // namespace
} // namespace kestrix::gui::testing
