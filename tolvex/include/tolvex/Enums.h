#pragma once

// The enumerations of the control's interface description, valued from the C constants so the two
// cannot drift apart. Some names equal the baud-rate macros of <termios.h>; the definitions below
// are shielded from them, so the header may be included in any order (qualify uses as
// enumBaud::B9600 in files that also include <termios.h> before it).

#include "tolvex/tolvex_constants.h"

namespace tolvex {

#pragma push_macro("B300")
#pragma push_macro("B600")
#pragma push_macro("B1200")
#pragma push_macro("B2400")
#pragma push_macro("B4800")
#pragma push_macro("B9600")
#pragma push_macro("B19200")
#pragma push_macro("B38400")
#pragma push_macro("B57600")
#pragma push_macro("B115200")
#undef B300
#undef B600
#undef B1200
#undef B2400
#undef B4800
#undef B9600
#undef B19200
#undef B38400
#undef B57600
#undef B115200

// Value 6 selects 14400 bit/s whatever its name says.
enum class enumBaud : short {
    B300 = TOLVEX_B300,
    B600 = TOLVEX_B600,
    B1200 = TOLVEX_B1200,
    B2400 = TOLVEX_B2400,
    B4800 = TOLVEX_B4800,
    B9600 = TOLVEX_B9600,
    B14000 = TOLVEX_B14000,
    B19200 = TOLVEX_B19200,
    B38400 = TOLVEX_B38400,
    B56000 = TOLVEX_B56000,
    B57600 = TOLVEX_B57600,
    B115200 = TOLVEX_B115200,
};

#pragma pop_macro("B115200")
#pragma pop_macro("B57600")
#pragma pop_macro("B38400")
#pragma pop_macro("B19200")
#pragma pop_macro("B9600")
#pragma pop_macro("B4800")
#pragma pop_macro("B2400")
#pragma pop_macro("B1200")
#pragma pop_macro("B600")
#pragma pop_macro("B300")

enum class enumBits : short { Seven = TOLVEX_BITS_SEVEN, Eight = TOLVEX_BITS_EIGHT };

enum class enumParity : short {
    NONE = TOLVEX_PARITY_NONE,
    ODD = TOLVEX_PARITY_ODD,
    EVEN = TOLVEX_PARITY_EVEN,
};

enum class enumStopBits : short { One = TOLVEX_STOP_BITS_ONE, Two = TOLVEX_STOP_BITS_TWO };

enum class enumMode : short { RTU = TOLVEX_MODE_RTU, ASCII = TOLVEX_MODE_ASCII };

enum class enumConnection : short {
    TCP_IP = TOLVEX_CONNECTION_TCP_IP,
    Port1 = TOLVEX_CONNECTION_PORT1,
    Port2 = TOLVEX_CONNECTION_PORT2,
    Port3 = TOLVEX_CONNECTION_PORT3,
    Port4 = TOLVEX_CONNECTION_PORT4,
    Port5 = TOLVEX_CONNECTION_PORT5,
    Port6 = TOLVEX_CONNECTION_PORT6,
    Port7 = TOLVEX_CONNECTION_PORT7,
    Port8 = TOLVEX_CONNECTION_PORT8,
    Port9 = TOLVEX_CONNECTION_PORT9,
    Port10 = TOLVEX_CONNECTION_PORT10,
    Port11 = TOLVEX_CONNECTION_PORT11,
    Port12 = TOLVEX_CONNECTION_PORT12,
    Port13 = TOLVEX_CONNECTION_PORT13,
    Port14 = TOLVEX_CONNECTION_PORT14,
    Port15 = TOLVEX_CONNECTION_PORT15,
    Port16 = TOLVEX_CONNECTION_PORT16,
    Port17 = TOLVEX_CONNECTION_PORT17,
    Port18 = TOLVEX_CONNECTION_PORT18,
    Port19 = TOLVEX_CONNECTION_PORT19,
    Port20 = TOLVEX_CONNECTION_PORT20,
    Port21 = TOLVEX_CONNECTION_PORT21,
    Port22 = TOLVEX_CONNECTION_PORT22,
    Port23 = TOLVEX_CONNECTION_PORT23,
    Port24 = TOLVEX_CONNECTION_PORT24,
    Port25 = TOLVEX_CONNECTION_PORT25,
    Port26 = TOLVEX_CONNECTION_PORT26,
    Port27 = TOLVEX_CONNECTION_PORT27,
    Port28 = TOLVEX_CONNECTION_PORT28,
    Port29 = TOLVEX_CONNECTION_PORT29,
    Port30 = TOLVEX_CONNECTION_PORT30,
    Port31 = TOLVEX_CONNECTION_PORT31,
    Port32 = TOLVEX_CONNECTION_PORT32,
};

enum class enumRTSControl : short {
    RTSDisable = TOLVEX_RTS_DISABLE,
    RTSEnable = TOLVEX_RTS_ENABLE,
    RTSToggle = TOLVEX_RTS_TOGGLE,
};

} // namespace tolvex
