#pragma once

#include "setup/SetupContent.h"

namespace setup {

enum class LinkStart { Started, Missing, Failed };

// Starts what a link names. The menu is given one, so tests can watch the clicks.
class LinkStarter {
public:
    virtual ~LinkStarter() = default;
    virtual LinkStart Start(const SetupLink& link) = 0;
};

} // namespace setup
