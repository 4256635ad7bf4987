// Time stamps as the table, its header lines and its files show them.

#include "kestrix/table/TimestampText.h"

#include "kestrix/shell/userLocale.h"
#include "kestrix/table/writers/TimestampCells.h"

#include <gtest/gtest.h>

namespace kestrix::table {
namespace {

TEST(TimestampText, FourDigitYearsInTheLocalesOrderOrIsoAndReadBack) {
    struct Case {
        QLocale locale;
        bool iso;
        const char* text;
    };
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const Case cases[] = {
        {us, false, "11/14/2023 22:13:20"},
        {german, false, "14.11.2023 22:13:20"},
        {QLocale(QLocale::Japanese, QLocale::Japan), false, "2023/11/14 22:13:20"},
        {us, true, "2023-11-14 22:13:20"},
        {german, true, "2023-11-14 22:13:20"},
    };
    const QLocale saved = UserLocale();
    const base::DateTime stamp = base::MakeDateTime(2023, 11, 14, 22, 13, 20);
    for (const Case& c : cases) {
        SetUserLocale(c.locale);
        EXPECT_EQ(TimestampText(c.iso).Format(stamp), c.text) << c.locale.name().toStdString();
        // The spreadsheet writer turns the text back into the same date-time cell.
        EXPECT_EQ(ParseTimestampText(c.text, c.locale), stamp) << c.text;
    }
    SetUserLocale(saved);
}

} // namespace
} // namespace kestrix::table
