#pragma once

#include "CtlOptions.h"

#include <string>
#include <tolvex/tolvex.h>
#include <vector>

namespace tolvex::cli {

// The text of each value a read brought back into a handle, in request order.
std::vector<std::string> FormatReadValues(tolvex_control* control, short handle,
                                          const CtlOptions& options);

} // namespace tolvex::cli
