#include "kestrix/shell/userLocale.h"

#include <optional>

namespace kestrix {
namespace {

std::optional<QLocale>& ChosenLocale() {
    static std::optional<QLocale> locale;
    return locale;
}

} // namespace

QLocale UserLocale() {
    return ChosenLocale().value_or(QLocale::system());
}

void SetUserLocale(const QLocale& locale) {
    ChosenLocale() = locale;
}

std::string GetDecimalSeparator() {
    return UserLocale().decimalPoint().toStdString();
}

} // namespace kestrix
