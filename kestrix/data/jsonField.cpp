#include "kestrix/data/jsonField.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace kestrix::jsonField {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
const std::array<std::pair<std::string_view, double>, 3> kNonFiniteTexts = {{
    {"NaN", std::numeric_limits<double>::quiet_NaN()},
    {"Infinity", kInfinity},
    {"-Infinity", -kInfinity},
}};

} // namespace

Json NumberToJson(double value) {
    if (std::isnan(value)) {
        return kNonFiniteTexts[0].first;
    }
    if (std::isinf(value)) {
        return value > 0 ? kNonFiniteTexts[1].first : kNonFiniteTexts[2].first;
    }
    return value;
}

std::optional<double> NonFiniteNumber(std::string_view text) {
    for (const auto& [name, value] : kNonFiniteTexts) {
        if (text == name) {
            return value;
        }
    }
    return std::nullopt;
}

Field Field::Member(std::string_view key) const {
    if (!value_->is_object()) {
        Refuse("expected an object");
    }
    const auto found = value_->find(key);
    if (found == value_->end()) {
        Field(*value_, this, key, 0).Refuse("missing");
    }
    return Field(*found, this, key, 0);
}

std::size_t Field::ListSize() const {
    if (!value_->is_array()) {
        Refuse("expected a list");
    }
    return value_->size();
}

Field Field::Item(std::size_t index) const {
    return Field((*value_)[index], this, {}, index);
}

const std::string& Field::Text() const {
    if (!value_->is_string()) {
        Refuse("expected a text");
    }
    return value_->get_ref<const std::string&>();
}

bool Field::Flag() const {
    if (!value_->is_boolean()) {
        Refuse("expected true or false");
    }
    return value_->get<bool>();
}

std::int64_t Field::Integer(std::int64_t min, std::int64_t max) const {
    const std::string expectation =
        "expected an integer from " + std::to_string(min) + " to " + std::to_string(max);
    if (!value_->is_number_integer()) {
        Refuse(expectation);
    }
    if (value_->is_number_unsigned() &&
        value_->get<std::uint64_t>() > static_cast<std::uint64_t>(max)) {
        Refuse(expectation);
    }
    const auto value = value_->get<std::int64_t>();
    if (value < min || value > max) {
        Refuse(expectation);
    }
    return value;
}

double Field::Number() const {
    if (!value_->is_number()) {
        Refuse("expected a number");
    }
    return value_->get<double>();
}

double Field::NumberOrNonFinite() const {
    if (value_->is_number()) {
        return value_->get<double>();
    }
    if (value_->is_string()) {
        if (const auto value = NonFiniteNumber(value_->get_ref<const std::string&>())) {
            return *value;
        }
    }
    Refuse(R"(expected a number, "NaN", "Infinity" or "-Infinity")");
}

std::string Field::Path() const {
    if (parent_ == nullptr) {
        return std::string(key_);
    }
    std::string path = parent_->Path();
    if (!key_.empty()) {
        return path.empty() ? std::string(key_) : path + "." + std::string(key_);
    }
    return path + "[" + std::to_string(index_) + "]";
}

void Field::Refuse(const std::string& expectation) const {
    const std::string path = Path();
    throw FieldError(path.empty() ? expectation : path + ": " + expectation);
}

} // namespace kestrix::jsonField
