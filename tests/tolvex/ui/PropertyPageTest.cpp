#include "CTolvexCtrl.h"
#include "CTolvexPropPage.h"
#include "ModalAnswer.h"
#include "PropertySheet.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace tolvex {
namespace {

class PropertyPage : public ::testing::Test {
protected:
    QComboBox& List(const char* property) {
        return *sheet.Page()->findChild<QComboBox*>(QStringLiteral("cmb") + property);
    }
    QLineEdit& Edit(const char* property) {
        return *sheet.Page()->findChild<QLineEdit*>(QStringLiteral("txt") + property);
    }
    bool Choose(const char* property, const char* entry) {
        const int index = List(property).findText(QString::fromUtf8(entry));
        List(property).setCurrentIndex(index);
        return index >= 0;
    }

    CTolvexCtrl control;
    PropertySheet sheet{control};
};

TEST_F(PropertyPage, ChoicesSetTheirProperties) {
    struct Case {
        const char* list;
        const char* entry;
        short (CTolvexCtrl::*property)() const;
        short expected;
    };
    const Case cases[] = {
        {"Connection", "Port 3", &CTolvexCtrl::Connection, 3},
        {"Connection", "TCP/IP", &CTolvexCtrl::Connection, 0},
        {"Connection", "Port 32", &CTolvexCtrl::Connection, 32},
        {"StopBits", "2 Stop Bits", &CTolvexCtrl::StopBits, 1},
        {"BaudRate", "14400 Baud", &CTolvexCtrl::BaudRate, 6},
        {"BaudRate", "115200 Baud", &CTolvexCtrl::BaudRate, 11},
        {"Parity", "Even Parity", &CTolvexCtrl::Parity, 2},
        {"DataBits", "7 Data Bits", &CTolvexCtrl::DataBits, 0},
        {"ProtocolMode", "ASCII", &CTolvexCtrl::ProtocolMode, 1},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Choose(c.list, c.entry)) << c.entry;
        ASSERT_TRUE(sheet.Page()->Apply());
        EXPECT_EQ((control.*c.property)(), c.expected) << c.entry;
    }
    EXPECT_EQ(List("Connection").count(), 33);
    EXPECT_EQ(List("BaudRate").count(), 12);
}

TEST_F(PropertyPage, EditsSetTimeoutAndAddress) {
    Edit("Timeout").setText(QStringLiteral("2500"));
    const char* parts[] = {"IPAddr1", "IPAddr2", "IPAddr3", "IPAddr4"};
    const short values[] = {192, 168, 0, 255};
    for (int i = 0; i < 4; ++i) {
        Edit(parts[i]).setText(QString::number(values[i]));
    }
    sheet.Buttons()->button(QDialogButtonBox::Apply)->click();
    EXPECT_EQ(control.Timeout(), 2500);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(control.IPAddr(i + 1), values[i]);
    }
}

TEST_F(PropertyPage, OutOfRangeValuesAreNamedAndNothingIsWritten) {
    struct Case {
        const char* edit;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"Timeout", "20000", "Response Timeout: please enter an integer between 300 and 10000."},
        {"Timeout", "299", "Response Timeout: please enter an integer between 300 and 10000."},
        {"Timeout", "", "Response Timeout: please enter an integer between 300 and 10000."},
        {"IPAddr2", "256", "TCP/IP Address, part 2: please enter an integer between 0 and 255."},
    };
    for (const Case& c : cases) {
        sheet.Page()->Load();
        // Parity comes before both edits in the exchange, Connection after them.
        ASSERT_TRUE(Choose("Parity", "Odd Parity"));
        ASSERT_TRUE(Choose("Connection", "Port 7"));
        Edit(c.edit).setText(QString::fromUtf8(c.text));
        test::ModalAnswer answer;
        EXPECT_FALSE(sheet.Page()->Apply());
        EXPECT_EQ(answer.text, QString::fromUtf8(c.message));
        EXPECT_EQ(control.Parity(), 0) << c.text;
        EXPECT_EQ(control.Connection(), 1) << c.text;
        EXPECT_EQ(control.Timeout(), 1000) << c.text;
        EXPECT_FALSE(control.IsModified()) << c.text;
    }
}

TEST_F(PropertyPage, OkWritesAndCancelLeavesTheControl) {
    sheet.show();
    ASSERT_TRUE(Choose("BaudRate", "19200 Baud"));
    sheet.Buttons()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(control.BaudRate(), 5);
    EXPECT_FALSE(control.IsModified());

    PropertySheet again(control);
    again.show();
    auto* list = again.Page()->findChild<QComboBox*>(QStringLiteral("cmbBaudRate"));
    EXPECT_EQ(list->currentText(), QStringLiteral("9600 Baud"));
    list->setCurrentIndex(7);
    again.Buttons()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(control.BaudRate(), 7);
    EXPECT_EQ(again.result(), QDialog::Accepted);
}

TEST_F(PropertyPage, ALoadedValueOutsideItsListIsLeftAlone) {
    std::string error;
    ASSERT_TRUE(control.LoadProperties("BaudRate=99\nConnection=40\n", error));
    sheet.Page()->Load();
    EXPECT_EQ(List("BaudRate").currentIndex(), -1);
    ASSERT_TRUE(sheet.Page()->Apply());
    EXPECT_EQ(control.BaudRate(), 99);
    EXPECT_EQ(control.Connection(), 40);
    EXPECT_FALSE(control.IsModified());
}

TEST_F(PropertyPage, OnlyTheElevenPagePropertiesHaveControlsAndEachIsNamed) {
    QStringList names;
    for (QWidget* control : sheet.Page()->findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(control) || qobject_cast<QLineEdit*>(control)) {
            names << control->objectName();
            EXPECT_FALSE(control->accessibleName().isEmpty())
                << control->objectName().toStdString();
        }
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{"cmbBaudRate", "cmbConnection", "cmbDataBits", "cmbParity",
                                  "cmbProtocolMode", "cmbStopBits", "txtIPAddr1", "txtIPAddr2",
                                  "txtIPAddr3", "txtIPAddr4", "txtTimeout"}));
}

} // namespace
} // namespace tolvex
