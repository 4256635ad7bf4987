#include "CtlOptions.h"

namespace tolvex::cli {

bool IsRead(Command command) {
    return command == Command::ReadCoils || command == Command::ReadDiscrete ||
           IsRegisterRead(command);
}

bool IsRegisterRead(Command command) {
    return command == Command::ReadHolding || command == Command::ReadInput ||
           command == Command::ReadWrite;
}

int RegistersPerValue(ValueFormat format) {
    switch (format) {
    case ValueFormat::Long:
    case ValueFormat::LongSwap:
    case ValueFormat::Float:
    case ValueFormat::FloatSwap:
        return 2;
    case ValueFormat::Double:
    case ValueFormat::DoubleSwap:
        return 4;
    default:
        return 1;
    }
}

} // namespace tolvex::cli
