#pragma once

// Puts one JSON value together from parser events, so that a document can be
// read a part at a time. Duplicate keys keep the last value, as a whole parse does.

#include "kestrix/data/jsonField.h"

#include <string>
#include <vector>

namespace kestrix::jsonField {

class JsonValueBuilder {
public:
    // A value that holds no other: null, a flag, a number or a text.
    void Add(Json&& value);
    // An empty object or list that takes the values up to its End.
    void Start(Json&& container);
    void Key(std::string&& key);
    void End();
    // The value put together; the builder is empty afterwards.
    Json Take();

private:
    Json& Place(Json&& value);

    Json value_;
    std::vector<Json*> open_; // the containers being filled, innermost last
    std::string key_;
};

} // namespace kestrix::jsonField
