#include "kestrix/table/FormulaCells.h"

#include "kestrix/table/FormulaReferences.h"

#include <algorithm>
#include <climits>

namespace kestrix::table {

class FormulaCells::ColumnLookup : public CellLookup {
public:
    ColumnLookup(const FormulaCells& formulas, const Content& content, int column)
        : formulas_(formulas), rowCount_(content.RowCount()), cells_(content.Cells(column)),
          column_(column) {}

    int RowCount() const override { return rowCount_; }

    void ValuesAt(int first, std::span<CellValue> cells) const override {
        for (CellValue& cell : cells) {
            cell = ColumnLookup::ValueAt(first++);
        }
    }

    CellValue ValueAt(int row) const override {
        const CellContent content = cells_.Content(static_cast<std::size_t>(row - 1));
        switch (content.kind) {
        case CellKind::Empty:
            return {};
        case CellKind::Text:
            return {.kind = CellValue::Kind::Text};
        case CellKind::Number:
            return {.kind = CellValue::Kind::Number, .number = content.number};
        case CellKind::Formula:
            return FormulaCell({column_, row});
        }
        return {};
    }

    // The statistics rows of a column all read its data range: it is read once per content.
    RangeSummary Summarize(int first, int last) const override {
        const RangeKey key{column_, first, last};
        if (const auto cached = formulas_.summaries_.find(key);
            cached != formulas_.summaries_.end()) {
            return cached->second;
        }
        const RangeSummary summary = CellLookup::Summarize(first, last);
        // A range with formulas may meet one still being evaluated, which is no lasting result.
        const auto formula = formulas_.entries_.lower_bound({column_, first});
        if (formula == formulas_.entries_.end() || formula->first > CellPos{column_, last}) {
            formulas_.summaries_.emplace(key, summary);
        }
        return summary;
    }

private:
    // Dependencies are evaluated first, so a formula not yet current is one being evaluated.
    CellValue FormulaCell(CellPos pos) const {
        const auto it = formulas_.entries_.find(pos);
        if (it == formulas_.entries_.end() || !formulas_.IsCurrent(it->second)) {
            return {.kind = CellValue::Kind::Error, .error = FormulaError::Cycle};
        }
        const FormulaValue& value = it->second.value;
        if (value.IsError()) {
            return {.kind = CellValue::Kind::Error, .error = value.error};
        }
        return {.kind = CellValue::Kind::Number, .number = value.number};
    }

    const FormulaCells& formulas_;
    int rowCount_;
    const GridColumn& cells_;
    int column_;
};

void FormulaCells::Set(CellPos pos, std::string_view text) {
    entries_.insert_or_assign(pos, Entry(std::string(text)));
}

void FormulaCells::Erase(CellPos pos) {
    entries_.erase(pos);
}

void FormulaCells::EraseRows(int column, int first, int last) {
    entries_.erase(entries_.lower_bound({column, first}), entries_.upper_bound({column, last}));
}

const std::string& FormulaCells::Text(CellPos pos) const {
    static const std::string kNone;
    const auto it = entries_.find(pos);
    return it == entries_.end() ? kNone : it->second.text;
}

void FormulaCells::InsertRows(int row, int count) {
    std::map<CellPos, Entry> moved;
    for (auto& [pos, entry] : entries_) {
        const CellPos target{pos.column, pos.row >= row ? pos.row + count : pos.row};
        moved.emplace(target, Entry(ShiftReferences(entry.text, row, count)));
    }
    entries_ = std::move(moved);
}

void FormulaCells::RemoveRows(int row, int count) {
    const int end = row + count;
    const auto renumber = [row, end, count](int at) {
        return at < row ? at : at >= end ? at - count : 0;
    };
    std::map<CellPos, Entry> moved;
    for (auto& [pos, entry] : entries_) {
        if (renumber(pos.row) == 0) {
            continue;
        }
        moved.emplace(CellPos{pos.column, renumber(pos.row)},
                      Entry(MapReferences(entry.text, [&renumber](int at, std::string_view token) {
                          return at == INT_MAX ? std::string(token)
                                               : "#" + std::to_string(renumber(at));
                      })));
    }
    entries_ = std::move(moved);
}

void FormulaCells::ArrangeColumns(const std::vector<int>& sources) {
    std::map<CellPos, Entry> moved;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const auto first = entries_.lower_bound({sources[i], 1});
        const auto last = entries_.lower_bound({sources[i] + 1, 1});
        for (auto it = first; sources[i] != 0 && it != last; ++it) {
            moved.emplace(CellPos{static_cast<int>(i) + 1, it->first.row}, std::move(it->second));
        }
    }
    entries_ = std::move(moved);
}

void FormulaCells::Retain(int columns, int rows) {
    std::erase_if(entries_, [columns, rows](const auto& item) {
        return item.first.column > columns || item.first.row > rows;
    });
}

void FormulaCells::PushDependencies(CellPos pos, const Entry& entry,
                                    std::vector<Frame>& stack) const {
    for (const RowRange& range : entry.formula.References()) {
        const auto first = entries_.lower_bound({pos.column, std::min(range.first, range.last)});
        const auto last = entries_.upper_bound({pos.column, std::max(range.first, range.last)});
        for (auto it = first; it != last; ++it) {
            if (!IsCurrent(it->second) && !it->second.visiting) {
                stack.push_back(Frame{it->first});
            }
        }
    }
}

FormulaValue FormulaCells::Value(CellPos pos, const Content& content) const {
    const auto target = entries_.find(pos);
    if (target == entries_.end()) {
        return FormulaValue::Error(FormulaError::Reference);
    }
    std::vector<Frame> stack{Frame{pos}};
    while (!stack.empty()) {
        const Frame frame = stack.back();
        const Entry& entry = entries_.find(frame.pos)->second;
        if (IsCurrent(entry)) {
            stack.pop_back();
        } else if (!frame.expanded) {
            stack.back().expanded = true;
            entry.visiting = true;
            PushDependencies(frame.pos, entry, stack);
        } else {
            entry.value = entry.formula.Evaluate(ColumnLookup(*this, content, frame.pos.column));
            entry.evaluatedIn = generation_;
            entry.visiting = false;
            stack.pop_back();
        }
    }
    return target->second.value;
}

std::size_t FormulaCells::BytesHeld() const {
    constexpr std::size_t kNodeOverhead = 4 * sizeof(void*);
    std::size_t bytes = 0;
    for (const auto& [pos, entry] : entries_) {
        bytes += sizeof(pos) + sizeof(entry) + kNodeOverhead + entry.text.capacity() +
                 entry.formula.BytesHeld();
    }
    return bytes;
}

} // namespace kestrix::table
