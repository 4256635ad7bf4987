#pragma once

namespace tolvex {

// Modem-line helpers. Pseudo-terminals and some adapters have no modem lines; failures there are
// harmless and ignored by the callers.
void SetLine(int fd, int line, bool on);

// Hands RTS direction control to the driver (RS-485 mode) or takes it back. False when the driver
// does not offer it.
bool SetKernelRtsToggle(int fd, bool on);

} // namespace tolvex
