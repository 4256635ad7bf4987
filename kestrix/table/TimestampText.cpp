#include "kestrix/table/TimestampText.h"

#include "kestrix/shell/userLocale.h"

#include <QDate>
#include <cstdio>

namespace kestrix::table {
namespace {

std::int64_t DayKey(const base::CivilDateTime& civil) {
    return (static_cast<std::int64_t>(civil.year) * 16 + civil.month) * 32 + civil.day;
}

} // namespace

QString TableDatePattern(const QLocale& locale, bool isoDates) {
    if (isoDates) {
        return QStringLiteral("yyyy-MM-dd");
    }
    const QString shortPattern = locale.dateFormat(QLocale::ShortFormat);
    QString pattern;
    bool quoted = false;
    for (qsizetype i = 0; i < shortPattern.size(); ++i) {
        const QChar c = shortPattern[i];
        quoted = c == u'\'' ? !quoted : quoted;
        if (c != u'y' || quoted) {
            pattern += c;
        } else if (i == 0 || shortPattern[i - 1] != u'y') {
            pattern += QStringLiteral("yyyy");
        }
    }
    return pattern;
}

TimestampText::TimestampText(bool isoDates)
    : dateFormat_(TableDatePattern(UserLocale(), isoDates).toStdString()) {}

const std::string& TimestampText::DateText(const base::CivilDateTime& civil) {
    const std::int64_t day = DayKey(civil);
    if (day != cachedDay_) {
        const QDate date(civil.year, civil.month, civil.day);
        cachedDate_ =
            UserLocale().toString(date, QString::fromStdString(dateFormat_)).toStdString();
        cachedDay_ = day;
    }
    return cachedDate_;
}

std::string TimestampText::Format(base::DateTime value) {
    const base::CivilDateTime civil = base::ToCivilDateTime(value);
    char time[16];
    std::snprintf(time, sizeof time, " %02d:%02d:%02d", civil.hour, civil.minute, civil.second);
    return DateText(civil) + time;
}

} // namespace kestrix::table
