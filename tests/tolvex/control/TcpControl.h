#pragma once

#include "CTolvexCtrl.h"

#include <cstdint>

namespace tolvex::test {

// Points a control at a Modbus/TCP server on the loopback address.
inline void UseLoopbackServer(CTolvexCtrl& control, uint16_t port) {
    control.SetConnection(0);
    control.SetIPAddr(1, 127);
    control.SetIPAddr(2, 0);
    control.SetIPAddr(3, 0);
    control.SetIPAddr(4, 1);
    control.SetTCPIPPort(port);
}

} // namespace tolvex::test
