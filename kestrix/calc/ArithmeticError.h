#pragma once

// The error raised when a calculation overflows or divides by zero; the
// calculation gives no partial result.

#include <cmath>
#include <stdexcept>
#include <string>

namespace kestrix::calc {

class ArithmeticError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

// Returns the value when it is a finite number, else raises ArithmeticError naming the quantity.
inline double RequireFinite(double value, const char* quantity) {
    if (!std::isfinite(value)) {
        throw ArithmeticError(std::string("arithmetic overflow in ") + quantity);
    }
    return value;
}

} // namespace kestrix::calc
