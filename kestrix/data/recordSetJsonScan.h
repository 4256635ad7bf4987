#pragma once

// Walks a record-set document as the parser reads it, without ever holding it
// whole: the top-level members asked for are handed over as values, and each
// entry of a "records" list is put together on its own and handed over before
// the next is read, so a full file costs no more than its largest entry.

#include "kestrix/data/jsonField.h"

#include <cstddef>
#include <istream>
#include <string>

namespace kestrix::data {

inline constexpr const char* kRecordsMemberName = "records";
// The format nests five levels deep (a record's channel entries); the rest leaves room for
// members it does not read. Deeper nesting is refused while parsing.
inline constexpr std::size_t kMaxRecordSetNesting = 8;

class RecordSetJsonEvents {
public:
    virtual ~RecordSetJsonEvents() = default;
    // Whether a top-level member other than a "records" list is wanted.
    virtual bool WantsMember(const std::string& key) const = 0;
    virtual void Member(const std::string& key, jsonField::Json&& value) = 0;
    // A "records" list starts; each repeat of the member starts a new one.
    virtual void RecordsStart() = 0;
    virtual void Record(jsonField::Json&& entry) = 0;
};

// Reads the whole JSON text; false when it is not an object, nothing handed
// over then. Throws jsonField::Json::exception when it is not valid JSON and
// jsonField::FieldError when it nests deeper than kMaxRecordSetNesting.
bool ScanRecordSetJson(std::istream& in, RecordSetJsonEvents& events);

} // namespace kestrix::data
