#pragma once

// The data table on screen: the grid's frozen title rows in a view of their own at the top,
// the other rows scrolling below it, both over the same columns and scrolled sideways together.
// Cells can be selected; Ctrl+C puts the selection on the clipboard as tab-separated text.

#include "kestrix/table/GridModel.h"

#include <QWidget>

class QLabel;
class QTableView;

namespace kestrix::gui {

class GridTableModel;

class GridView : public QWidget {
    Q_OBJECT
public:
    explicit GridView(table::GridModel& grid, QWidget* parent = nullptr);
    ~GridView() override;

    // The first visible scrolling cell, counted from 0 after the frozen rows and columns.
    struct ScrollPosition {
        int row = 0;
        int column = 0;
    };
    ScrollPosition FirstVisibleCell() const;
    // Makes the cell the first visible one; false when the table has no such cell.
    bool ScrollTo(ScrollPosition position);
    // Selects the grid row (counted from 1 like the grid's) and scrolls it into view; false for
    // a frozen row or no row.
    bool SelectGridRow(int gridRow);

    QTableView* FrozenView() const { return frozenView_; }
    QTableView* ScrollingView() const { return scrollingView_; }
    GridTableModel* ScrollingModel() const { return scrollingModel_; }

    // The selected cells of the view that has the focus (else of the scrolling view): rows on
    // lines, cells separated by tabs, unselected cells inside the selection's bounds empty.
    QString SelectedText() const;
    void CopySelection() const;

    // A text centred over the data rows (what to do while there is no data); empty hides it.
    void ShowHint(const QString& text);
    QLabel* Hint() const { return hint_; }

private:
    void OnGridChanged();
    void ApplyColumnWidths();
    void ApplySpans();
    void FitFrozenHeight();
    int RowHeight() const;

    table::GridModel& grid_;
    GridTableModel* frozenModel_;
    GridTableModel* scrollingModel_;
    QTableView* frozenView_;
    QTableView* scrollingView_;
    QLabel* hint_;
};

} // namespace kestrix::gui
