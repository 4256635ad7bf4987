#include "kestrix/gui/main/GridView.h"

#include "kestrix/gui/main/GridCellDelegate.h"
#include "kestrix/gui/main/GridTableModel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace kestrix::gui {
namespace {

constexpr int kRowPadding = 6;
constexpr double kColumnPaddingCharacters = 1.0;

QTableView* MakeView(GridTableModel* model, const QString& accessibleName, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setAccessibleName(accessibleName);
    view->setItemDelegate(new GridCellDelegate(view));
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
    return view;
}

} // namespace

GridView::GridView(table::GridModel& grid, QWidget* parent)
    : QWidget(parent), grid_(grid),
      frozenModel_(new GridTableModel(grid, GridTableModel::Band::Frozen, this)),
      scrollingModel_(new GridTableModel(grid, GridTableModel::Band::Scrolling, this)),
      frozenView_(MakeView(frozenModel_, tr("Table titles"), this)),
      scrollingView_(MakeView(scrollingModel_, tr("Data table"), this)),
      hint_(new QLabel(scrollingView_->viewport())) {
    setObjectName(QStringLiteral("sprTable"));
    // One vertical scroll bar, the data's: the title rows leave its width free on the right, so
    // their columns stay above the data's columns when the table is scrolled to its right end.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(frozenView_, 0, 0);
    layout->addWidget(scrollingView_, 1, 0, 1, 2);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnMinimumWidth(1, scrollingView_->verticalScrollBar()->sizeHint().width());

    frozenView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setFrameShape(QFrame::NoFrame);
    scrollingView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scrollingView_->setFrameShape(QFrame::NoFrame);
    connect(scrollingView_->horizontalScrollBar(), &QScrollBar::valueChanged,
            frozenView_->horizontalScrollBar(), &QScrollBar::setValue);
    connect(scrollingView_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                frozenView_->horizontalHeader()->resizeSection(column, size);
            });

    hint_->setObjectName(QStringLiteral("lblNoData"));
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setWordWrap(true);
    hint_->setForegroundRole(QPalette::PlaceholderText);
    hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* hintLayout = new QVBoxLayout(scrollingView_->viewport());
    hintLayout->addWidget(hint_);
    hint_->hide();

    auto* copy = new QAction(tr("&Copy"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QAction::triggered, this, &GridView::CopySelection);
    addAction(copy);

    grid_.SetChangeListener([this] { OnGridChanged(); });
    OnGridChanged();
}

GridView::~GridView() {
    grid_.SetChangeListener(nullptr);
}

int GridView::RowHeight() const {
    return fontMetrics().height() + kRowPadding;
}

void GridView::OnGridChanged() {
    frozenModel_->Reset();
    scrollingModel_->Reset();
    for (QTableView* view : {frozenView_, scrollingView_}) {
        view->verticalHeader()->setMinimumSectionSize(RowHeight());
        view->verticalHeader()->setDefaultSectionSize(RowHeight());
    }
    ApplyColumnWidths();
    ApplySpans();
    FitFrozenHeight();
}

void GridView::ApplyColumnWidths() {
    const double characterWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int column = 1; column <= grid_.ColumnCount(); ++column) {
        const int width = static_cast<int>((grid_.ColumnWidth(column) + kColumnPaddingCharacters) *
                                           characterWidth);
        scrollingView_->horizontalHeader()->resizeSection(column - 1, width);
        frozenView_->horizontalHeader()->resizeSection(column - 1, width);
    }
}

void GridView::ApplySpans() {
    frozenView_->clearSpans();
    scrollingView_->clearSpans();
    for (const table::CellSpan& span : grid_.Spans()) {
        for (auto [view, model] :
             {std::pair{frozenView_, frozenModel_}, std::pair{scrollingView_, scrollingModel_}}) {
            const int row = model->ModelRow(span.row);
            if (row >= 0) {
                view->setSpan(row, span.column - 1, 1, span.columns);
            }
        }
    }
}

void GridView::FitFrozenHeight() {
    const int rows = frozenModel_->rowCount();
    frozenView_->setVisible(rows > 0);
    frozenView_->setFixedHeight(rows * RowHeight());
}

GridView::ScrollPosition GridView::FirstVisibleCell() const {
    return {std::max(0, scrollingView_->rowAt(0)), std::max(0, scrollingView_->columnAt(0))};
}

bool GridView::ScrollTo(ScrollPosition position) {
    if (position.row >= scrollingModel_->rowCount() ||
        position.column >= scrollingModel_->columnCount()) {
        return false;
    }
    scrollingView_->doItemsLayout();
    scrollingView_->verticalScrollBar()->setValue(
        scrollingView_->verticalHeader()->sectionPosition(position.row));
    scrollingView_->horizontalScrollBar()->setValue(
        scrollingView_->horizontalHeader()->sectionPosition(position.column));
    return true;
}

bool GridView::SelectGridRow(int gridRow) {
    const int row = gridRow - 1 - grid_.FrozenRows();
    if (row < 0 || row >= scrollingModel_->rowCount()) {
        return false;
    }
    const QModelIndex cell = scrollingModel_->index(row, 0);
    scrollingView_->setFocus();
    scrollingView_->setCurrentIndex(cell);
    scrollingView_->selectRow(row);
    scrollingView_->scrollTo(cell, QAbstractItemView::PositionAtCenter);
    return true;
}

QString GridView::SelectedText() const {
    const QTableView* view = frozenView_->hasFocus() ? frozenView_ : scrollingView_;
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return {};
    }
    auto [rowLow, rowHigh] = std::minmax_element(
        selected.begin(), selected.end(), [](auto& a, auto& b) { return a.row() < b.row(); });
    auto [colLow, colHigh] = std::minmax_element(
        selected.begin(), selected.end(), [](auto& a, auto& b) { return a.column() < b.column(); });
    const int rows = rowHigh->row() - rowLow->row() + 1;
    const int columns = colHigh->column() - colLow->column() + 1;
    std::vector<QStringList> cells(static_cast<std::size_t>(rows), QStringList(columns));
    for (const QModelIndex& index : selected) {
        QString text = index.data().toString();
        text.replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        cells[static_cast<std::size_t>(index.row() - rowLow->row())]
             [index.column() - colLow->column()] = text;
    }
    QStringList lines;
    for (const QStringList& row : cells) {
        lines.append(row.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void GridView::ShowHint(const QString& text) {
    hint_->setText(text);
    hint_->setVisible(!text.isEmpty());
}

void GridView::CopySelection() const {
    const QString text = SelectedText();
    if (!text.isEmpty()) {
        QApplication::clipboard()->setText(text);
    }
}

} // namespace kestrix::gui
