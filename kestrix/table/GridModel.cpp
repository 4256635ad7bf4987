#include "kestrix/table/GridModel.h"

#include "kestrix/table/NumberText.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kestrix::table {

namespace {

std::size_t Index(int rowOrColumn) {
    return static_cast<std::size_t>(rowOrColumn - 1);
}

std::uint8_t ClampDecimals(int decimals) {
    return static_cast<std::uint8_t>(std::clamp(decimals, 0, CellFormat::kMaxDecimals));
}

const std::string kNoText;

} // namespace

// What formula evaluation reads of the grid's cells.
class GridModel::FormulaContent : public FormulaCells::Content {
public:
    explicit FormulaContent(const GridModel& grid) : grid_(grid) {}
    int RowCount() const override { return grid_.rowCount_; }
    const GridColumn& Cells(int column) const override { return grid_.columns_[Index(column)]; }

private:
    const GridModel& grid_;
};

// ---- Size

bool GridModel::SetColumnCount(int count) {
    if (count < 0 || count > kMaxColumns) {
        return false;
    }
    columns_.resize(static_cast<std::size_t>(count),
                    GridColumn(static_cast<std::size_t>(rowCount_)));
    formulas_.Retain(count, rowCount_);
    formulas_.Invalidate();
    ReleaseIfEmpty();
    return true;
}

bool GridModel::SetRowCount(int count) {
    if (count < 0 || count > kMaxRows) {
        return false;
    }
    rowCount_ = count;
    for (GridColumn& column : columns_) {
        column.Resize(static_cast<std::size_t>(count));
    }
    rowUserValues_.resize(static_cast<std::size_t>(count), 0);
    formulas_.Retain(ColumnCount(), count);
    formulas_.Invalidate();
    ReleaseIfEmpty();
    return true;
}

void GridModel::ReleaseIfEmpty() {
    if (columns_.empty() && rowCount_ == 0) {
        columns_.shrink_to_fit();
        rowUserValues_.shrink_to_fit();
        texts_.Clear();
        formats_.Clear();
        formulas_.Clear();
    }
}

int GridModel::AddRow() {
    return SetRowCount(rowCount_ + 1) ? rowCount_ : 0;
}

bool GridModel::InsertRowsAbove(int row, int count) {
    if (row < 1 || row > rowCount_ + 1 || count < 0 || count > kMaxRows - rowCount_) {
        return false;
    }
    for (GridColumn& column : columns_) {
        column.InsertRows(Index(row), static_cast<std::size_t>(count));
    }
    rowUserValues_.insert(rowUserValues_.begin() + static_cast<std::ptrdiff_t>(Index(row)),
                          static_cast<std::size_t>(count), 0);
    rowCount_ += count;
    formulas_.InsertRows(row, count);
    formulas_.Invalidate();
    return true;
}

bool GridModel::RemoveRows(int row, int count) {
    if (row < 1 || count < 0 || count > rowCount_ - row + 1) {
        return false;
    }
    for (GridColumn& column : columns_) {
        column.EraseRows(Index(row), static_cast<std::size_t>(count));
    }
    const auto first = rowUserValues_.begin() + static_cast<std::ptrdiff_t>(Index(row));
    rowUserValues_.erase(first, first + count);
    rowCount_ -= count;
    formulas_.RemoveRows(row, count);
    formulas_.Invalidate();
    return true;
}

bool GridModel::ArrangeColumns(const std::vector<int>& sources) {
    std::vector<bool> named(columns_.size() + 1, false);
    for (const int source : sources) {
        if (source < 0 || source > ColumnCount() || (source > 0 && named[source])) {
            return false;
        }
        named[source] = source > 0;
    }
    if (sources.size() > kMaxColumns) {
        return false;
    }
    std::vector<GridColumn> arranged;
    arranged.reserve(sources.size());
    for (const int source : sources) {
        arranged.push_back(source > 0 ? std::move(columns_[Index(source)])
                                      : GridColumn(static_cast<std::size_t>(rowCount_)));
    }
    columns_ = std::move(arranged);
    formulas_.ArrangeColumns(sources);
    formulas_.Invalidate();
    ReleaseIfEmpty();
    return true;
}

void GridModel::ReserveRows(int rows) {
    const auto capacity = static_cast<std::size_t>(std::clamp(rows, 0, kMaxRows));
    for (GridColumn& column : columns_) {
        column.Reserve(capacity);
    }
    rowUserValues_.reserve(capacity);
}

// ---- Locating cells

GridColumn* GridModel::Column(int column) {
    return column >= 1 && column <= ColumnCount() ? &columns_[Index(column)] : nullptr;
}

const GridColumn* GridModel::Column(int column) const {
    return column >= 1 && column <= ColumnCount() ? &columns_[Index(column)] : nullptr;
}

GridColumn* GridModel::CellColumn(int column, int row) {
    return IsRow(row) ? Column(column) : nullptr;
}

const GridColumn* GridModel::CellColumn(int column, int row) const {
    return IsRow(row) ? Column(column) : nullptr;
}

// ---- Content

void GridModel::BeforeContentChange(int column, int row) {
    if (columns_[Index(column)].Kind(Index(row)) == CellKind::Formula) {
        formulas_.Erase({column, row});
    }
    formulas_.Invalidate();
}

CellKind GridModel::Kind(int column, int row) const {
    const GridColumn* cells = CellColumn(column, row);
    return cells ? cells->Kind(Index(row)) : CellKind::Empty;
}

bool GridModel::SetText(int column, int row, std::string_view text) {
    return CellColumn(column, row) && SetTextId(column, row, texts_.Intern(text));
}

bool GridModel::SetTextId(int column, int row, std::uint32_t textId) {
    GridColumn* cells = CellColumn(column, row);
    if (!cells || !texts_.Holds(textId)) {
        return false;
    }
    BeforeContentChange(column, row);
    cells->SetText(Index(row), textId);
    return true;
}

bool GridModel::SetNumber(int column, int row, double value, int decimals) {
    if (!SetNumberType(column, row, decimals)) {
        return false;
    }
    columns_[Index(column)].SetNumber(Index(row), value);
    return true;
}

bool GridModel::SetNumberType(int column, int row, int decimals) {
    if (!SetDecimals(column, row, decimals)) {
        return false;
    }
    BeforeContentChange(column, row);
    columns_[Index(column)].SetEmpty(Index(row));
    return true;
}

bool GridModel::SetFormula(int column, int row, std::string_view formula, int decimals) {
    if (!SetNumberType(column, row, decimals)) {
        return false;
    }
    columns_[Index(column)].SetFormula(Index(row));
    formulas_.Set({column, row}, formula);
    return true;
}

bool GridModel::ClearContent(int column, int row) {
    GridColumn* cells = CellColumn(column, row);
    if (!cells) {
        return false;
    }
    BeforeContentChange(column, row);
    cells->SetEmpty(Index(row));
    return true;
}

bool GridModel::ReadNumbers(int column, int firstRow, std::shared_ptr<const ColumnValues> values) {
    GridColumn* cells = Column(column);
    if (!cells || firstRow < 1) {
        return false;
    }
    const long long count = values ? static_cast<long long>(values->Count()) : 0;
    formulas_.EraseRows(column, firstRow,
                        static_cast<int>(std::min<long long>(firstRow - 1LL + count, rowCount_)));
    cells->ReadNumbers(Index(firstRow), std::move(values));
    formulas_.Invalidate();
    return true;
}

std::string_view GridModel::Text(int column, int row) const {
    const GridColumn* cells = CellColumn(column, row);
    if (!cells || cells->Kind(Index(row)) != CellKind::Text) {
        return {};
    }
    return texts_.Get(cells->TextId(Index(row)));
}

const std::string& GridModel::Formula(int column, int row) const {
    return IsRow(row) && Column(column) ? formulas_.Text({column, row}) : kNoText;
}

bool GridModel::IsNumberCell(int column, int row) const {
    const CellKind kind = Kind(column, row);
    return kind == CellKind::Number || kind == CellKind::Formula;
}

bool GridModel::HoldsNumber(int column, int row) const {
    const GridColumn* cells = CellColumn(column, row);
    if (!cells) {
        return false;
    }
    switch (cells->Kind(Index(row))) {
    case CellKind::Number:
        return true;
    case CellKind::Formula:
        return !Value(column, row).IsError();
    case CellKind::Empty:
    case CellKind::Text:
        break;
    }
    return false;
}

FormulaValue GridModel::Value(int column, int row) const {
    const GridColumn* cells = CellColumn(column, row);
    if (!cells) {
        return FormulaValue::Error(FormulaError::Reference);
    }
    const CellContent content = cells->Content(Index(row));
    switch (content.kind) {
    case CellKind::Number:
        return FormulaValue{content.number};
    case CellKind::Formula:
        return formulas_.Value({column, row}, FormulaContent(*this));
    case CellKind::Empty:
    case CellKind::Text:
        break;
    }
    return FormulaValue::Error(FormulaError::Value);
}

std::string GridModel::ShownText(int column, int row, char decimalSeparator) const {
    switch (Kind(column, row)) {
    case CellKind::Empty:
        return {};
    case CellKind::Text:
        return std::string(Text(column, row));
    case CellKind::Number:
    case CellKind::Formula:
        break;
    }
    const FormulaValue value = Value(column, row);
    if (value.IsError()) {
        return std::string(ErrorText(value.error));
    }
    return FormatNumber(value.number, Decimals(column, row), decimalSeparator);
}

int GridModel::ShownTextWidth(int column, int row) const {
    switch (Kind(column, row)) {
    case CellKind::Empty:
        return 0;
    case CellKind::Text:
        return texts_.Width(columns_[Index(column)].TextId(Index(row)));
    case CellKind::Number:
    case CellKind::Formula:
        break;
    }
    const FormulaValue value = Value(column, row);
    if (value.IsError()) {
        return static_cast<int>(ErrorText(value.error).size());
    }
    return FormattedNumberWidth(value.number, Decimals(column, row));
}

// ---- Look

const CellFormat& GridModel::Format(int column, int row) const {
    const GridColumn* cells = CellColumn(column, row);
    return formats_.Get(cells ? cells->Format(Index(row)) : 0);
}

template <typename Change>
bool GridModel::ChangeFormat(int column, int row, Change change) {
    GridColumn* cells = CellColumn(column, row);
    if (!cells) {
        return false;
    }
    CellFormat format = formats_.Get(cells->Format(Index(row)));
    const CellFormat before = format;
    change(format);
    if (format == before) {
        return true;
    }
    const std::optional<FormatId> id = formats_.Intern(format);
    if (id) {
        cells->SetFormat(Index(row), *id);
    }
    return id.has_value();
}

bool GridModel::SetFormat(int column, int row, const CellFormat& format) {
    CellFormat clamped = format;
    clamped.decimals = ClampDecimals(format.decimals);
    return ChangeFormat(column, row, [&clamped](CellFormat& f) { f = clamped; });
}

bool GridModel::SetTextColor(int column, int row, Rgb color) {
    return ChangeFormat(column, row, [color](CellFormat& f) { f.textColor = color; });
}

bool GridModel::SetBackColor(int column, int row, Rgb color) {
    return ChangeFormat(column, row, [color](CellFormat& f) { f.backColor = color; });
}

bool GridModel::SetDecimals(int column, int row, int decimals) {
    GridColumn* cells = CellColumn(column, row);
    if (!cells) {
        return false;
    }
    const std::size_t index = Index(row);
    const std::optional<FormatId> format =
        formats_.WithDecimals(cells->Format(index), ClampDecimals(decimals));
    if (format) {
        cells->SetFormat(index, *format);
    }
    return format.has_value();
}

bool GridModel::SetAlignment(int column, int row, Alignment alignment) {
    return ChangeFormat(column, row, [alignment](CellFormat& f) { f.alignment = alignment; });
}

bool GridModel::SetBorders(int column, int row, std::uint8_t borders) {
    return ChangeFormat(column, row,
                        [borders](CellFormat& f) { f.borders = borders & kBorderAll; });
}

bool GridModel::SetBold(int column, int row, bool bold) {
    return ChangeFormat(column, row, [bold](CellFormat& f) { f.bold = bold; });
}

bool GridModel::SetFlagged(int column, int row, bool flagged) {
    return ChangeFormat(column, row, [flagged](CellFormat& f) { f.flagged = flagged; });
}

// ---- Notes and spans

std::string_view GridModel::Note(int column, int row) const {
    const GridColumn* cells = CellColumn(column, row);
    return cells ? texts_.Get(cells->NoteId(Index(row))) : std::string_view();
}

bool GridModel::SetNote(int column, int row, std::string_view note) {
    GridColumn* cells = CellColumn(column, row);
    if (!cells) {
        return false;
    }
    cells->SetNoteId(Index(row), texts_.Intern(note));
    return true;
}

int GridModel::Span(int column, int row) const {
    const GridColumn* cells = CellColumn(column, row);
    if (!cells) {
        return 1;
    }
    const int span = cells->Span(Index(row));
    return std::clamp(span, 1, ColumnCount() - column + 1);
}

bool GridModel::SetSpan(int column, int row, int columns) {
    GridColumn* cells = CellColumn(column, row);
    if (!cells || columns < 1) {
        return false;
    }
    cells->SetSpan(Index(row), columns == 1 ? 0 : std::min(columns, kMaxColumns));
    return true;
}

std::vector<CellSpan> GridModel::Spans() const {
    std::vector<CellSpan> spans;
    for (int column = 1; column <= ColumnCount(); ++column) {
        for (const auto& entry : columns_[Index(column)].SpanEntries().Entries()) {
            const int row = static_cast<int>(entry.first) + 1;
            if (const int span = Span(column, row); span > 1) {
                spans.push_back({column, row, span});
            }
        }
    }
    return spans;
}

std::vector<CellPos> GridModel::NotedCells() const {
    std::vector<CellPos> cells;
    for (int column = 1; column <= ColumnCount(); ++column) {
        for (const auto& entry : columns_[Index(column)].NoteEntries().Entries()) {
            cells.push_back({column, static_cast<int>(entry.first) + 1});
        }
    }
    return cells;
}

// ---- Change notice

void GridModel::SetRedraw(bool on) {
    const bool turnedOn = on && !redraw_;
    redraw_ = on;
    if (turnedOn && changedWhileOff_) {
        changedWhileOff_ = false;
        if (changeListener_) {
            changeListener_();
        }
    }
}

void GridModel::ReplaceWith(GridModel&& other) {
    ChangeListener listener = std::move(changeListener_);
    const bool redraw = redraw_;
    *this = std::move(other);
    changeListener_ = std::move(listener);
    redraw_ = redraw;
    NoteChanged();
}

void GridModel::NoteChanged() {
    if (!redraw_) {
        changedWhileOff_ = true;
    } else if (changeListener_) {
        changeListener_();
    }
}

// ---- Rows and columns

std::int32_t GridModel::RowUserValue(int row) const {
    return IsRow(row) ? rowUserValues_[Index(row)] : 0;
}

bool GridModel::SetRowUserValue(int row, std::int32_t value) {
    if (!IsRow(row)) {
        return false;
    }
    rowUserValues_[Index(row)] = value;
    return true;
}

std::int32_t GridModel::ColumnUserValue(int column) const {
    const GridColumn* cells = Column(column);
    return cells ? cells->userValue : 0;
}

bool GridModel::SetColumnUserValue(int column, std::int32_t value) {
    GridColumn* cells = Column(column);
    if (!cells) {
        return false;
    }
    cells->userValue = value;
    return true;
}

double GridModel::ColumnWidth(int column) const {
    const GridColumn* cells = Column(column);
    return cells ? cells->width : 0.0;
}

bool GridModel::SetColumnWidth(int column, double width) {
    GridColumn* cells = Column(column);
    if (!cells || !(width >= 0.0)) {
        return false;
    }
    cells->width = width;
    return true;
}

int GridModel::WidestTextWidth(int column, int firstRow, int lastRow) const {
    const GridColumn* cells = Column(column);
    if (!cells) {
        return 0;
    }
    std::array<WidestNumberText, CellFormat::kMaxDecimals + 1> numbersByDecimals;
    int widest = 0;
    for (int row = std::max(firstRow, 1); row <= std::min(lastRow, rowCount_); ++row) {
        const std::size_t index = Index(row);
        const CellContent content = cells->Content(index);
        if (content.kind == CellKind::Number) {
            numbersByDecimals[formats_.Get(cells->Format(index)).decimals].Add(content.number);
        } else {
            widest = std::max(widest, ShownTextWidth(column, row));
        }
    }
    for (std::size_t decimals = 0; decimals < numbersByDecimals.size(); ++decimals) {
        widest = std::max(widest, numbersByDecimals[decimals].Width(static_cast<int>(decimals)));
    }
    return widest;
}

std::size_t GridModel::BytesHeld() const {
    std::size_t bytes = sizeof(GridModel) + rowUserValues_.capacity() * sizeof(std::int32_t) +
                        (columns_.capacity() - columns_.size()) * sizeof(GridColumn);
    for (const GridColumn& column : columns_) {
        bytes += column.BytesHeld();
    }
    return bytes + texts_.BytesHeld() + formats_.BytesHeld() + formulas_.BytesHeld();
}

} // namespace kestrix::table
