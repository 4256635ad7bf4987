// Uses the kernel's termios2 directly: <termios.h> must not be included in this file.
#include "LineSettings.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace tolvex {
namespace {

tcflag_t CharacterSize(int byteSize) {
    return byteSize == 7 ? CS7 : CS8;
}

void MakeRaw(termios2& tio) {
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY | IGNPAR);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

void SetFraming(termios2& tio, const LineSettings& settings) {
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CharacterSize(settings.byteSize) | CREAD | CLOCAL;
    if (settings.parity != Parity::None) {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
    } else {
        tio.c_iflag &= ~static_cast<tcflag_t>(INPCK);
    }
    if (settings.parity == Parity::Odd) {
        tio.c_cflag |= PARODD;
    }
    if (settings.twoStopBits) {
        tio.c_cflag |= CSTOPB;
    }
}

void SetBaudRate(termios2& tio, uint32_t baudRate) {
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = baudRate;
    tio.c_ospeed = baudRate;
}

} // namespace

bool ApplyLineSettings(int fd, const LineSettings& settings) {
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        return false;
    }
    MakeRaw(tio);
    SetFraming(tio, settings);
    SetBaudRate(tio, settings.baudRate);
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}

} // namespace tolvex
