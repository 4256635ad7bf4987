#pragma once

// The locale whose number conventions the program follows: the system's
// unless a test (or a later setting) puts another one in its place.

#include <QLocale>
#include <string>

namespace kestrix {

QLocale UserLocale();

// The user's locale's decimal separator.
std::string GetDecimalSeparator();
void SetUserLocale(const QLocale& locale);

} // namespace kestrix
