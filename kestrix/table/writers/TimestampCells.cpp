#include "kestrix/table/writers/TimestampCells.h"

#include "kestrix/table/TimestampText.h"

#include <QDateTime>

namespace kestrix::table {

namespace {

constexpr int kFirstInstrumentYear = 1970;
// "HH:mm:ss" after the date and a blank.
constexpr qsizetype kTimeLength = 8;

// The run of equal characters starting at index.
qsizetype RunLength(const QString& text, qsizetype index) {
    qsizetype end = index;
    while (end < text.size() && text[end] == text[index]) {
        ++end;
    }
    return end - index;
}

// A Qt date-format literal ('text', '' for a quote) as a quoted spreadsheet literal; returns
// the index after it.
qsizetype AppendQuoted(const QString& pattern, qsizetype index, QString& out) {
    qsizetype i = index + 1;
    if (i < pattern.size() && pattern[i] == u'\'') {
        out += QStringLiteral("\\'");
        return i + 1;
    }
    out += u'"';
    while (i < pattern.size() && pattern[i] != u'\'') {
        out += pattern[i++];
    }
    out += u'"';
    return i + 1;
}

// The table's dates in either form, or the locale's own short date of older tables.
QDate ParseDate(const QString& text, const QLocale& locale) {
    const QString shortPattern = locale.dateFormat(QLocale::ShortFormat);
    QDate date = locale.toDate(text, shortPattern);
    if (date.isValid()) {
        const bool twoDigits = !shortPattern.contains(QStringLiteral("yyyy"));
        return twoDigits && date.year() < kFirstInstrumentYear ? date.addYears(100) : date;
    }
    for (const bool iso : {false, true}) {
        date = locale.toDate(text, TableDatePattern(locale, iso));
        if (date.isValid()) {
            return date;
        }
    }
    return {};
}

} // namespace

// Date and time are read apart, so no time zone takes part: the instrument's clock knows none,
// a local reading would drop the times a daylight-saving change skips, and it would consult the
// system's zone rules for every row.
std::optional<base::DateTime> ParseTimestampText(std::string_view text, const QLocale& locale) {
    const QString whole = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const qsizetype dateLength = whole.size() - kTimeLength - 1;
    if (dateLength <= 0 || whole[dateLength] != u' ') {
        return std::nullopt;
    }
    const QTime time = QTime::fromString(whole.last(kTimeLength), QStringLiteral("HH:mm:ss"));
    const QDate date = ParseDate(whole.first(dateLength), locale);
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return base::MakeDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(),
                              time.second());
}

std::string TimestampNumberFormat(const QLocale& locale) {
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    QString format;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        const qsizetype run = RunLength(pattern, i);
        if (c == u'\'') {
            i = AppendQuoted(pattern, i, format);
            continue;
        }
        if (c == u'y') {
            format += QStringLiteral("yyyy");
        } else if (c == u'M' || c == u'd') {
            format += QString(run, c.toLower());
        } else if (c.isLetter()) {
            format += u'"' + QString(run, c) + u'"';
        } else {
            for (qsizetype k = 0; k < run; ++k) {
                if (!QStringLiteral("/-.:, ").contains(c)) {
                    format += u'\\';
                }
                format += c;
            }
        }
        i += run;
    }
    return (format + QStringLiteral(" hh:mm:ss")).toStdString();
}

} // namespace kestrix::table
