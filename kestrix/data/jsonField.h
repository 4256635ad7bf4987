#pragma once

// Typed reading of a parsed JSON document in which every refusal names the
// field it concerns, e.g. "records[12].particles[3].count: expected ...".
// The field's path is put together only when something is refused.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrix::jsonField {

using Json = nlohmann::ordered_json;

class FieldError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Field {
public:
    explicit Field(const Json& value) : value_(&value) {}
    // A value read apart from its document, found there at path (e.g.
    // "records[12]"); the path must outlive the field.
    Field(const Json& value, std::string_view path) : value_(&value), key_(path) {}

    // The member of an object; refused when this is not an object or the
    // member is absent. The parent must outlive the member.
    Field Member(std::string_view key) const;
    // The list's entries; refused when this is not a list.
    std::size_t ListSize() const;
    Field Item(std::size_t index) const;

    bool IsNull() const { return value_->is_null(); }
    bool IsText() const { return value_->is_string(); }
    const std::string& Text() const;
    bool Flag() const;
    std::int64_t Integer(std::int64_t min, std::int64_t max) const;
    double Number() const;
    // A number, or one of the texts NumberToJson writes for non-finite values.
    double NumberOrNonFinite() const;

    std::string Path() const;
    [[noreturn]] void Refuse(const std::string& expectation) const;

private:
    Field(const Json& value, const Field* parent, std::string_view key, std::size_t index)
        : value_(&value), parent_(parent), key_(key), index_(index) {}

    const Json* value_;
    const Field* parent_ = nullptr;
    std::string_view key_;
    std::size_t index_ = 0;
};

// JSON has no non-finite numbers: they become "NaN", "Infinity", "-Infinity".
Json NumberToJson(double value);
// The non-finite number one of those texts stands for; none for any other text.
std::optional<double> NonFiniteNumber(std::string_view text);

} // namespace kestrix::jsonField
