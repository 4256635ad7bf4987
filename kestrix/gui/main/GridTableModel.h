#pragma once

// One band of the grid's rows as a Qt table model: either the frozen title rows at the top or
// the rows that scroll below them. The model answers from the grid's column store and copies
// nothing; the grid's change notice reaches it through Reset().

#include "kestrix/table/GridModel.h"

#include <QAbstractTableModel>

namespace kestrix::gui {

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Band { Frozen, Scrolling };
    enum Role { BordersRole = Qt::UserRole + 1, NoteMarkerRole };

    GridTableModel(const table::GridModel& grid, Band band, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The grid row (counted from 1) of a row of this model.
    int GridRow(int modelRow) const;
    // The model row of a grid row, -1 when the row is not in this band.
    int ModelRow(int gridRow) const;

    // Everything shown must be read again.
    void Reset();

private:
    int FirstGridRow() const;

    const table::GridModel& grid_;
    Band band_;
    char decimalSeparator_ = '.';
};

} // namespace kestrix::gui
