#pragma once

// The enumerations of the control's interface description. Some names equal the baud-rate macros
// of <termios.h>; the definitions below are shielded from them, so the header may be included in
// any order (qualify uses as enumBaud::B9600 in files that also include <termios.h> before it).

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
    B300 = 0,
    B600 = 1,
    B1200 = 2,
    B2400 = 3,
    B4800 = 4,
    B9600 = 5,
    B14000 = 6,
    B19200 = 7,
    B38400 = 8,
    B56000 = 9,
    B57600 = 10,
    B115200 = 11,
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

enum class enumBits : short { Seven = 0, Eight = 1 };

enum class enumParity : short { NONE = 0, ODD = 1, EVEN = 2 };

enum class enumStopBits : short { One = 0, Two = 1 };

enum class enumMode : short { RTU = 0, ASCII = 1 };

enum class enumConnection : short {
    TCP_IP = 0,
    Port1,
    Port2,
    Port3,
    Port4,
    Port5,
    Port6,
    Port7,
    Port8,
    Port9,
    Port10,
    Port11,
    Port12,
    Port13,
    Port14,
    Port15,
    Port16,
    Port17,
    Port18,
    Port19,
    Port20,
    Port21,
    Port22,
    Port23,
    Port24,
    Port25,
    Port26,
    Port27,
    Port28,
    Port29,
    Port30,
    Port31,
    Port32,
};

enum class enumRTSControl : short { RTSDisable = 0, RTSEnable = 1, RTSToggle = 2 };

} // namespace tolvex
