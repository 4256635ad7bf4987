#pragma once

// A week of an IAQ monitor in an office and a hall, sampled every ten minutes, with days that
// fall into several index categories and one day cut short.

#include "kestrix/data/clsDataRecordSet.h"

#include <memory>

namespace kestrix::screenshots {

std::shared_ptr<data::clsDataRecordSet> BuildIaqWeek();

} // namespace kestrix::screenshots
