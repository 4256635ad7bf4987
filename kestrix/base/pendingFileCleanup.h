#pragma once

// The temporary files of PendingFile are removed when SIGINT or SIGTERM ends the program, so an
// interrupted save leaves the old file as it was and nothing hidden beside it. The registry of
// pending paths is a fixed set of atomic slots that the signal handler can read safely.

namespace kestrix::base {

// Installs the handlers, once, from a command-line program's main. The handler removes every
// pending temporary file and then ends the program as the signal would have.
void RemovePendingFilesOnInterrupt();

namespace pendingFiles {

// The path must stay valid until Forget. A path that finds no free slot is not removed on an
// interrupt; nothing else changes.
void Remember(const char* path);
void Forget(const char* path);

} // namespace pendingFiles

} // namespace kestrix::base
