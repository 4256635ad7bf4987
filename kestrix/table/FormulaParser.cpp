// Recursive-descent compiler from formula text to postfix code.

#include "kestrix/table/Formula.h"
#include "kestrix/table/FormulaReferences.h"

#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <string>

namespace kestrix::table {

namespace {

struct FunctionName {
    std::string_view name;
    Formula::Function function;
    bool singleArgument;
};

constexpr std::array kFunctions{
    FunctionName{"AVERAGE", Formula::Function::Average, false},
    FunctionName{"MAX", Formula::Function::Max, false},
    FunctionName{"MIN", Formula::Function::Min, false},
    FunctionName{"SUM", Formula::Function::Sum, false},
    FunctionName{"SUMSQ", Formula::Function::SumSq, false},
    FunctionName{"STDEV", Formula::Function::Stdev, false},
    FunctionName{"SQRT", Formula::Function::Sqrt, true},
    FunctionName{"ABS", Formula::Function::Abs, true},
};

std::optional<FunctionName> FindFunction(std::string_view word) {
    std::string upper(word);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (const FunctionName& f : kFunctions) {
        if (f.name == upper) {
            return f;
        }
    }
    return std::nullopt;
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

} // namespace

class FormulaParser {
public:
    explicit FormulaParser(std::string_view text) : text_(text) {}

    Formula Run() {
        Formula formula;
        if (ParseExpression() && AtEnd()) {
            formula.code_ = std::move(code_);
            formula.parseError_ = FormulaError::None;
        } else {
            formula.parseError_ = error_ == FormulaError::None ? FormulaError::Syntax : error_;
        }
        return formula;
    }

private:
    bool Fail(FormulaError error) {
        if (error_ == FormulaError::None) {
            error_ = error;
        }
        return false;
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
    }

    bool AtEnd() {
        SkipBlanks();
        return pos_ == text_.size() || Fail(FormulaError::Syntax);
    }

    bool Accept(char c) {
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    Formula::Instruction& Emit(Formula::Op op) {
        Formula::Instruction& instruction = code_.emplace_back();
        instruction.op = op;
        return instruction;
    }

    bool ParseExpression() {
        if (!ParseTerm()) {
            return false;
        }
        for (;;) {
            if (Accept('+')) {
                if (!ParseTerm()) {
                    return false;
                }
                Emit(Formula::Op::Add);
            } else if (Accept('-')) {
                if (!ParseTerm()) {
                    return false;
                }
                Emit(Formula::Op::Subtract);
            } else {
                return true;
            }
        }
    }

    bool ParseTerm() {
        if (!ParseUnary()) {
            return false;
        }
        for (;;) {
            if (Accept('*')) {
                if (!ParseUnary()) {
                    return false;
                }
                Emit(Formula::Op::Multiply);
            } else if (Accept('/')) {
                if (!ParseUnary()) {
                    return false;
                }
                Emit(Formula::Op::Divide);
            } else {
                return true;
            }
        }
    }

    // Every nesting level passes through here, so the depth is bounded in one place.
    bool ParseUnary() {
        if (depth_ >= Formula::kMaxNesting) {
            return Fail(FormulaError::Syntax);
        }
        ++depth_;
        bool ok = false;
        if (Accept('-')) {
            ok = ParseUnary();
            if (ok) {
                Emit(Formula::Op::Negate);
            }
        } else if (Accept('+')) {
            ok = ParseUnary();
        } else {
            ok = ParsePrimary();
        }
        --depth_;
        return ok;
    }

    bool ParsePrimary() {
        SkipBlanks();
        if (pos_ == text_.size()) {
            return Fail(FormulaError::Syntax);
        }
        const char c = text_[pos_];
        if (c == '(') {
            ++pos_;
            return ParseExpression() && (Accept(')') || Fail(FormulaError::Syntax));
        }
        if (c == '#') {
            return ParseReference();
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            return ParseNumber();
        }
        if (std::isalpha(static_cast<unsigned char>(c))) {
            return ParseCall();
        }
        return Fail(FormulaError::Syntax);
    }

    bool ParseNumber() {
        double value = 0.0;
        const char* begin = text_.data() + pos_;
        const auto [end, ec] =
            std::from_chars(begin, text_.data() + text_.size(), value,
                            std::chars_format::fixed | std::chars_format::scientific);
        if (ec != std::errc{}) {
            return Fail(ec == std::errc::result_out_of_range ? FormulaError::Number
                                                             : FormulaError::Syntax);
        }
        pos_ += static_cast<std::size_t>(end - begin);
        Emit(Formula::Op::PushNumber).number = value;
        return true;
    }

    std::optional<int> ParseRow() {
        SkipBlanks();
        const std::size_t length = ReferenceLength(text_.substr(pos_));
        if (length == 0) {
            Fail(FormulaError::Syntax);
            return std::nullopt;
        }
        const int row = ReferenceRow(text_.substr(pos_, length));
        pos_ += length;
        return row;
    }

    bool ParseReference() {
        const std::optional<int> first = ParseRow();
        if (!first) {
            return false;
        }
        RowRange rows{*first, *first};
        if (Accept(':')) {
            const std::optional<int> last = ParseRow();
            if (!last) {
                return false;
            }
            rows.last = *last;
        }
        Emit(Formula::Op::PushRange).rows = rows;
        return true;
    }

    bool ParseCall() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) {
            ++pos_;
        }
        const std::optional<FunctionName> function =
            FindFunction(text_.substr(start, pos_ - start));
        if (!function || !Accept('(')) {
            return Fail(FormulaError::Name);
        }
        std::uint32_t count = 0;
        do {
            if (!ParseExpression()) {
                return false;
            }
            ++count;
        } while (Accept(','));
        if (!Accept(')') || (function->singleArgument && count != 1)) {
            return Fail(FormulaError::Syntax);
        }
        Formula::Instruction& call = Emit(Formula::Op::Call);
        call.function = function->function;
        call.argumentCount = count;
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    std::vector<Formula::Instruction> code_;
    FormulaError error_ = FormulaError::None;
};

Formula Formula::Parse(std::string_view text) {
    return FormulaParser(text).Run();
}

std::vector<RowRange> Formula::References() const {
    std::vector<RowRange> references;
    for (const Instruction& instruction : code_) {
        if (instruction.op == Op::PushRange) {
            references.push_back(instruction.rows);
        }
    }
    return references;
}

} // namespace kestrix::table
