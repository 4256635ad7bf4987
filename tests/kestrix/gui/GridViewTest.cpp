#include "kestrix/gui/main/GridView.h"

#include "MainWindowFixture.h"
#include "kestrix/gui/main/GridTableModel.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

namespace kestrix::gui::testing {
namespace {

class GridViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }

    void SetUp() override {
        grid.SetColumnCount(3);
        grid.SetRowCount(6);
        grid.SetText(1, 1, "Header line");
        grid.SetSpan(1, 1, 3);
        grid.SetFrozenRows(2);
        grid.SetText(1, 2, "Title");
        grid.SetNumber(2, 3, 1.5, 2);
        grid.SetNote(2, 3, "- Bad flow rate.");
        grid.SetTextColor(2, 3, table::Rgb{0, 0, 255});
        grid.SetText(1, 6, "Average");
        grid.SetSpan(1, 6, 2);
    }

    table::GridModel grid;
};

TEST_F(GridViewTest, FrozenRowsSpansNotesAndColoursReachTheViews) {
    GridView view(grid);
    const GridTableModel& model = *view.ScrollingModel();
    EXPECT_EQ(view.FrozenView()->model()->rowCount(), 2);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(view.FrozenView()->columnSpan(0, 0), 3);
    EXPECT_EQ(view.ScrollingView()->columnSpan(3, 0), 2);

    const QModelIndex noted = model.index(0, 1);
    EXPECT_EQ(noted.data().toString(), "1.50");
    EXPECT_EQ(noted.data(Qt::ToolTipRole).toString(), "- Bad flow rate.");
    EXPECT_EQ(noted.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_FALSE(model.index(0, 0).data(Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model.index(0, 0).data(Qt::ForegroundRole).isValid());

    // A replaced table reaches the view through the grid's one change notice.
    table::GridModel other;
    other.SetColumnCount(1);
    other.SetRowCount(9);
    grid.ReplaceWith(std::move(other));
    EXPECT_EQ(model.rowCount(), 9);
    EXPECT_EQ(view.FrozenView()->model()->columnCount(), 1);
}

// Pixels of the row far from the view's background colour: drawn text.
int InkInRow(QTableView& view, int row) {
    const QImage image = view.viewport()->grab().toImage();
    const QColor background = view.palette().color(QPalette::Base);
    const QRect band(0, view.rowViewportPosition(row), image.width(), view.rowHeight(row));
    int ink = 0;
    for (int y = band.top(); y <= band.bottom() && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += std::abs(QColor(image.pixel(x, y)).lightness() - background.lightness()) > 96;
        }
    }
    return ink;
}

TEST_F(GridViewTest, ScrolledRightTheHeaderLineStaysReadableOverAlignedColumns) {
    for (int column = 1; column <= grid.ColumnCount(); ++column) {
        grid.SetColumnWidth(column, 60);
    }
    GridView view(grid);
    view.resize(300, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTableView& frozen = *view.FrozenView();
    QScrollBar& sideways = *view.ScrollingView()->horizontalScrollBar();
    sideways.setValue(sideways.maximum());
    ASSERT_GT(frozen.horizontalScrollBar()->value(), 0);

    // One vertical scroll bar: the titles' columns end where the data's do.
    EXPECT_FALSE(frozen.verticalScrollBar()->isVisible());
    EXPECT_EQ(frozen.viewport()->width(), view.ScrollingView()->viewport()->width());
    EXPECT_EQ(frozen.horizontalScrollBar()->value(), sideways.value());
    EXPECT_GT(InkInRow(frozen, 0), 0);
}

TEST_F(GridViewTest, CtrlCCopiesTheSelectionAsTabSeparatedText) {
    GridView view(grid);
    view.show();
    QApplication::setActiveWindow(&view);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QTableView& data = *view.ScrollingView();
    data.setFocus();
    data.selectionModel()->select(
        QItemSelection(data.model()->index(0, 0), data.model()->index(0, 2)),
        QItemSelectionModel::Select);
    QTest::keyClick(&data, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "\t1.50\t\n");
}

} // namespace
} // namespace kestrix::gui::testing
