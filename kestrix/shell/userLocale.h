#pragma once

// The locale whose number conventions the program follows: the system's
// unless a test (or a later setting) puts another one in its place.

#include <QLocale>

namespace kestrix {

QLocale UserLocale();
void SetUserLocale(const QLocale& locale);

} // namespace kestrix
