#pragma once

// Two record sets compared field by field: the instrument, the channel descriptions, the
// location names and every record (analog values bit for bit, NaN as NaN); the download time
// to the millisecond that a record-set file keeps.

#include "kestrix/data/clsDataRecordSet.h"

#include <string>

namespace test_support {

// NaN equals NaN; zeros of different sign differ.
void ExpectSameValue(double expected, double actual, const std::string& where);
void ExpectSameRecords(kestrix::data::clsDataRecordSet& expected,
                       kestrix::data::clsDataRecordSet& actual);
void ExpectSameRecordSet(kestrix::data::clsDataRecordSet& expected,
                         kestrix::data::clsDataRecordSet& actual);

} // namespace test_support
