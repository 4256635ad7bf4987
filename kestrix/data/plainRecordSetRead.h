#pragma once

// The quick way through a record-set file as the writer makes it: the general reader's two
// passes, but with a scanner of their own for the records instead of the general parser and no
// document value per record. The header members are still parsed as JSON values and read as
// the general reader reads them. A document in any other form (escapes, other members, records
// of differing shapes, anything refused) is left to the general reader, which names the fault.

#include "kestrix/data/clsDataRecordSet.h"

#include <istream>
#include <memory>

namespace kestrix::data {

// First pass: the set made ready for the records; null when the document is not in the
// writer's form. The stream then stands anywhere.
std::unique_ptr<clsDataRecordSet> SurveyPlainRecordSet(std::istream& in);

// Second pass over the stream wound back: the records stored. False when they are not as the
// first pass found them (the file changed); the set is then partly filled.
bool FillPlainRecords(std::istream& in, clsDataRecordSet& recordSet);

} // namespace kestrix::data
