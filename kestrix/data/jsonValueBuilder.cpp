#include "kestrix/data/jsonValueBuilder.h"

#include <utility>

namespace kestrix::jsonField {

Json& JsonValueBuilder::Place(Json&& value) {
    if (open_.empty()) {
        value_ = std::move(value);
        return value_;
    }
    Json& container = *open_.back();
    if (container.is_array()) {
        container.push_back(std::move(value));
        return container.back();
    }
    Json& member = container[key_];
    member = std::move(value);
    return member;
}

void JsonValueBuilder::Add(Json&& value) {
    Place(std::move(value));
}

void JsonValueBuilder::Start(Json&& container) {
    open_.push_back(&Place(std::move(container)));
}

void JsonValueBuilder::Key(std::string&& key) {
    key_ = std::move(key);
}

void JsonValueBuilder::End() {
    open_.pop_back();
}

Json JsonValueBuilder::Take() {
    open_.clear();
    return std::exchange(value_, Json());
}

} // namespace kestrix::jsonField
