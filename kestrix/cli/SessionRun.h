#pragma once

// Runs the sessions to their end on the Qt event loop, as the wizard's steps 3 and 4 would.

#include "kestrix/cli/InstrumentOptions.h"
#include "kestrix/instrument/DownloadSession.h"

namespace kestrix::cli {

// Binds the port numbers as the wizard does ([ports] of the configuration, then the devices the
// system reports), takes the port and address from the options or else the configuration,
// identifies the instrument and, once it answered, stores the choice in the configuration. The exit
// status: kExitOk once the identity is shown.
int IdentifyChosenInstrument(instrument::SessionCore& session, const InstrumentOptions& options,
                             modConfig::ConfigStore& store);

// The outcome of the download started on an identified session; progress goes to display.
instrument::DownloadOutcome RunDownload(instrument::DownloadSession& session, bool showProgress);

int ExitCodeOf(instrument::DownloadOutcome outcome);

} // namespace kestrix::cli
