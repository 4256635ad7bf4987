#include "kestrix/data/recordShapes.h"

#include "kestrix/data/recordSetJsonScan.h"

#include <limits>

namespace kestrix::data {

namespace {

using jsonField::Field;
using jsonField::FieldError;

constexpr std::size_t kRefused = std::numeric_limits<std::size_t>::max();
constexpr const char* kParticles = "particles";
constexpr const char* kAnalogs = "analogs";

std::size_t ListExtent(const Field& record, const char* key) {
    return record.Member(key).ListSize();
}

void CheckList(std::size_t record, const char* key, std::size_t extent, std::size_t expected,
               const char* kind, const std::string& refusal) {
    if (extent == kRefused) {
        throw FieldError(refusal);
    }
    if (extent != expected) {
        throw FieldError(RecordPath(record) + "." + key + ": expected " + std::to_string(expected) +
                         " entries, one per " + kind + " channel");
    }
}

} // namespace

std::string RecordPath(std::size_t index) {
    return std::string(kRecordsMemberName) + "[" + std::to_string(index) + "]";
}

RecordShape ShapeOf(const Field& record) {
    return {ListExtent(record, kParticles), ListExtent(record, kAnalogs)};
}

void RecordShapes::Add(const jsonField::Json& record) {
    const std::size_t index = count_++;
    if (index >= noted_ || !refusal_.empty()) {
        return;
    }
    const std::string path = RecordPath(index);
    const Field field(record, path);
    RecordShape& shape = shapes_.emplace_back(RecordShape{kRefused, kRefused});
    try {
        shape.particles = ListExtent(field, kParticles);
        shape.analogs = ListExtent(field, kAnalogs);
    } catch (const FieldError& error) {
        refusal_ = error.what();
    }
}

void RecordShapes::Check(const RecordShape& expected) const {
    for (std::size_t index = 0; index < shapes_.size(); ++index) {
        const RecordShape& shape = shapes_[index];
        CheckList(index, kParticles, shape.particles, expected.particles, "particle", refusal_);
        CheckList(index, kAnalogs, shape.analogs, expected.analogs, "analog", refusal_);
    }
}

} // namespace kestrix::data
