#pragma once

#include "setup/LinkStarter.h"

namespace setup {

// A program file (executable bit) starts detached with its arguments split from FileArgs, never
// through a shell; documents, folders and web addresses open in the desktop's default application.
class ShellLinkStarter : public LinkStarter {
public:
    LinkStart Start(const SetupLink& link) override;
};

} // namespace setup
