#include "ModemLines.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace tolvex {

void SetLine(int fd, int line, bool on) {
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

bool SetKernelRtsToggle(int fd, bool on) {
    serial_rs485 rs485{};
    rs485.flags = on ? (SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND) : 0;
    return ::ioctl(fd, TIOCSRS485, &rs485) == 0;
}

} // namespace tolvex
