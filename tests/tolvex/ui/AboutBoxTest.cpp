#include "AboutBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace tolvex {
namespace {

TEST(AboutBox, ShowsTheControlsNameAndVersionAndClosesWithOk) {
    AboutBox box;
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Tolvex Control"));
    QStringList texts;
    bool hasIcon = false;
    for (const QLabel* label : box.findChildren<QLabel*>()) {
        texts << label->text();
        hasIcon = hasIcon || !label->pixmap().isNull();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("TOLVEX Control, Version 1.21")));
    EXPECT_TRUE(hasIcon);
    QPushButton* ok = box.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
}

} // namespace
} // namespace tolvex
