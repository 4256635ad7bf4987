#include "setup/CRavelinDlg.h"

#include "SetupTestSupport.h"
#include "setup/CXHyperLink.h"
#include "setup/ShellLinkStarter.h"

#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace setup {
namespace {

class RecordingStarter : public LinkStarter {
public:
    LinkStart Start(const SetupLink& link) override {
        started.push_back(link.file);
        return LinkStart::Started;
    }
    QStringList started;
};

class SetupMenu : public ::testing::Test {
protected:
    CRavelinDlg& Open(const std::string& lines) {
        dialog = std::make_unique<CRavelinDlg>(testing::ContentOf(folder, lines), starter);
        dialog->show();
        return *dialog;
    }

    std::vector<int> VisibleLinks() const {
        std::vector<int> visible;
        for (int n = 1; n <= kLinkCount; ++n) {
            if (dialog->Link(n)->isVisible()) {
                EXPECT_TRUE(dialog->Icon(n)->isVisible()) << n;
                visible.push_back(n);
            } else {
                EXPECT_FALSE(dialog->Icon(n)->isVisible()) << n;
            }
        }
        return visible;
    }

    QTemporaryDir folder;
    RecordingStarter starter;
    std::unique_ptr<CRavelinDlg> dialog;
};

TEST_F(SetupMenu, LinksOneAndFourOnlyStandAtTheTopOfEachColumn) {
    Open("Link1Text=Install\nLink4Text=Manual\nLink7Text=Seventh\n");
    EXPECT_EQ(VisibleLinks(), (std::vector<int>{1, 4}));
    const QRect first = dialog->Link(1)->geometry();
    const QRect fourth = dialog->Link(4)->geometry();
    EXPECT_EQ(first.top(), fourth.top());
    EXPECT_LT(first.right(), fourth.left());
    EXPECT_LT(first.top(), dialog->Link(2)->geometry().top());
    EXPECT_EQ(first.left(), dialog->Link(3)->geometry().left());
    EXPECT_EQ(dialog->findChildren<CXHyperLink*>().size(), kLinkCount);
}

TEST_F(SetupMenu, WithoutSetupIniOnlyTheBannerAndCloseShow) {
    ASSERT_TRUE(FindSetupFile(folder.path(), folder.path()).isEmpty());
    dialog = std::make_unique<CRavelinDlg>(ReadSetupContent({}), starter);
    dialog->show();
    EXPECT_TRUE(VisibleLinks().empty());
    EXPECT_TRUE(dialog->Banner()->isVisible());
    EXPECT_FALSE(dialog->Banner()->pixmap().isNull());
    EXPECT_TRUE(dialog->CloseButton()->isVisible());
    EXPECT_EQ(dialog->CloseButton()->text(), QStringLiteral("&Close"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Setup"));
    EXPECT_EQ(dialog->Separator()->geometry().right(), dialog->width() - 1);
}

TEST_F(SetupMenu, EachClickStartsTheFileOnceAndMarksTheLinkVisited) {
    Open("Link2Text=Manual\nLink2File=manual.pdf\n");
    CXHyperLink& link = *dialog->Link(2);
    EXPECT_EQ(link.TextColour(), CXHyperLink::kLinkColour);
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(starter.started, QStringList{folder.filePath(QStringLiteral("manual.pdf"))});
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(link.TextColour(), CXHyperLink::kVisitedColour);
    QTest::mouseClick(&link, Qt::LeftButton);
    EXPECT_EQ(starter.started.size(), 2);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(SetupMenu, ALinkWithoutFileStartsNothing) {
    Open("Link3Text=Nothing here\n");
    QTest::mouseClick(dialog->Link(3), Qt::LeftButton);
    EXPECT_TRUE(starter.started.isEmpty());
    EXPECT_TRUE(dialog->Link(3)->IsVisited());
}

TEST_F(SetupMenu, HoverUnderlinesInTheHoverColourUntilThePointerLeaves) {
    Open("Link5Text=Website\n");
    CXHyperLink& link = *dialog->Link(5);
    QTest::mouseMove(&link, link.rect().center());
    EXPECT_TRUE(link.IsOverControl());
    EXPECT_EQ(link.TextColour(), CXHyperLink::kHoverColour);
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&link, &leave);
    EXPECT_FALSE(link.IsOverControl());
    EXPECT_EQ(link.TextColour(), CXHyperLink::kLinkColour);
    EXPECT_TRUE(link.toolTip().isEmpty());
}

TEST_F(SetupMenu, ALinkIsSizedToItsTextEvenBeyondItsPlace) {
    const QString longText(80, QLatin1Char('W'));
    Open("Link1Text=" + longText.toStdString() + "\nLink6Text=OK\n");
    const QFontMetrics metrics(dialog->Link(1)->font());
    EXPECT_GE(dialog->Link(1)->width(), metrics.horizontalAdvance(longText));
    EXPECT_LT(dialog->Link(6)->width(), dialog->Link(1)->width() / 10);
}

TEST_F(SetupMenu, AMissingFileIsNamedInAMessage) {
    ShellLinkStarter shell;
    CRavelinDlg menu(testing::ContentOf(folder, "Link1Text=Install\nLink1File=gone.sh\n"), shell);
    menu.show();
    QString message;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(menu.Link(1), Qt::LeftButton);
    EXPECT_TRUE(message.contains(folder.filePath(QStringLiteral("gone.sh"))))
        << message.toStdString();
}

} // namespace
} // namespace setup
