#include "kestrix/data/recordSetFields.h"

#include "kestrix/data/isoDateTime.h"

#include <cfloat>
#include <cmath>

namespace kestrix::data {

std::int32_t Int32Field(const jsonField::Field& field, std::int64_t min) {
    return static_cast<std::int32_t>(field.Integer(min, kRecordSetInt32Max));
}

std::uint8_t StatusField(const jsonField::Field& field) {
    return static_cast<std::uint8_t>(field.Integer(0, kRecordSetStatusMax));
}

base::DateTime TimeField(const jsonField::Field& field) {
    const auto value = ParseIsoDateTime(field.Text());
    if (!value) {
        field.Refuse("expected a local date-time such as \"2026-03-01T08:15:00\"");
    }
    return *value;
}

float SingleField(const jsonField::Field& field) {
    const double value = field.NumberOrNonFinite();
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
        field.Refuse("expected a number within the single-precision range");
    }
    return static_cast<float>(value);
}

} // namespace kestrix::data
