#pragma once

// Runs the sessions to their end on the Qt event loop, as the wizard's steps 3 and 4 would.

#include "kestrix/cli/InstrumentOptions.h"
#include "kestrix/instrument/DownloadSession.h"

namespace kestrix::cli {

// The exit status of an identification: kExitOk once the identity is shown.
int RunIdentification(DownloadSession& session, const InstrumentChoice& choice);

// The outcome of the download started on an identified session; progress goes to display.
DownloadOutcome RunDownload(DownloadSession& session, bool showProgress);

int ExitCodeOf(DownloadOutcome outcome);

} // namespace kestrix::cli
