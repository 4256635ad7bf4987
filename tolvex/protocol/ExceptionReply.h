#pragma once

#include "tolvex/ResultCode.h"

#include <cstdint>

namespace tolvex {

// A reply whose function byte is above 0x80 carries a device exception code.
constexpr bool IsExceptionFunction(uint8_t function) {
    return function > 0x80;
}

// An exception code of 0 would read as success; such a reply does not answer the request.
constexpr uint16_t ExceptionResult(uint8_t exceptionCode) {
    return exceptionCode == 0 ? Code(ResultCode::ReplyMismatch) : exceptionCode;
}

} // namespace tolvex
