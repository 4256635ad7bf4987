#include "kestrix/gui/main/GridTableModel.h"

#include "kestrix/base/rgb.h"
#include "kestrix/shell/userLocale.h"

#include <QColor>
#include <QFont>
#include <algorithm>

namespace kestrix::gui {
namespace {

QColor ToColor(table::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

char LocaleDecimalSeparator() {
    const std::string separator = GetDecimalSeparator();
    return separator.size() == 1 ? separator.front() : '.';
}

Qt::Alignment HorizontalAlignment(table::Alignment alignment, bool number) {
    switch (alignment) {
    case table::Alignment::Left:
        return Qt::AlignLeft;
    case table::Alignment::Center:
        return Qt::AlignHCenter;
    case table::Alignment::Right:
        return Qt::AlignRight;
    case table::Alignment::General:
        break;
    }
    return number ? Qt::AlignRight : Qt::AlignLeft;
}

} // namespace

GridTableModel::GridTableModel(const table::GridModel& grid, Band band, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), band_(band),
      decimalSeparator_(LocaleDecimalSeparator()) {}

int GridTableModel::FirstGridRow() const {
    return band_ == Band::Frozen ? 1 : std::min(grid_.FrozenRows(), grid_.RowCount()) + 1;
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    const int frozen = std::min(grid_.FrozenRows(), grid_.RowCount());
    return band_ == Band::Frozen ? frozen : grid_.RowCount() - frozen;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.ColumnCount();
}

int GridTableModel::GridRow(int modelRow) const {
    return FirstGridRow() + modelRow;
}

int GridTableModel::ModelRow(int gridRow) const {
    const int row = gridRow - FirstGridRow();
    return row >= 0 && row < rowCount() ? row : -1;
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int column = index.column() + 1;
    const int row = GridRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(grid_.ShownText(column, row, decimalSeparator_));
    case Qt::ToolTipRole:
    case NoteMarkerRole: {
        const std::string_view note = grid_.Note(column, row);
        if (note.empty()) {
            return {};
        }
        return role == NoteMarkerRole
                   ? QVariant(true)
                   : QVariant(QString::fromUtf8(note.data(), static_cast<qsizetype>(note.size())));
    }
    default:
        break;
    }
    const table::CellFormat& format = grid_.Format(column, row);
    // Plain cells take the palette's colours, so a dark desktop theme shows them well; coloured
    // cells keep the colours the table gave them.
    const bool plainBackground = format.backColor == table::kWhite;
    switch (role) {
    case Qt::BackgroundRole:
        return plainBackground ? QVariant() : QVariant(ToColor(format.backColor));
    case Qt::ForegroundRole:
        return plainBackground && format.textColor == table::kBlack
                   ? QVariant()
                   : QVariant(ToColor(format.textColor));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            HorizontalAlignment(format.alignment, grid_.IsNumberCell(column, row)) |
            Qt::AlignVCenter);
    case Qt::FontRole: {
        if (!format.bold) {
            return {};
        }
        QFont font;
        font.setBold(true);
        return font;
    }
    case BordersRole:
        return format.borders == 0 ? QVariant() : QVariant(int{format.borders});
    default:
        return {};
    }
}

void GridTableModel::Reset() {
    beginResetModel();
    decimalSeparator_ = LocaleDecimalSeparator();
    endResetModel();
}

} // namespace kestrix::gui
