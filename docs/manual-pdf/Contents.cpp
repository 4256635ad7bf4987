#include "Contents.h"

namespace kestrix::manual {
namespace {

constexpr int kIndentPerLevel = 24;

QString Row(const Heading& heading, int firstBodyPage) {
    const QString title = heading.level == 1
                              ? QStringLiteral("<b>%1</b>").arg(heading.title.toHtmlEscaped())
                              : heading.title.toHtmlEscaped();
    return QStringLiteral("<tr><td style=\"padding-left:%1px\">%2</td>"
                          "<td align=\"right\">%3</td></tr>")
        .arg((heading.level - 1) * kIndentPerLevel)
        .arg(title)
        .arg(heading.page + firstBodyPage);
}

} // namespace

QString ContentsHtml(const QString& title, const std::vector<Heading>& headings,
                     int firstBodyPage) {
    QString html = QStringLiteral("<h1>%1</h1><h2>Contents</h2>"
                                  "<table width=\"100%\" cellpadding=\"2\">")
                       .arg(title.toHtmlEscaped());
    for (const Heading& heading : headings) {
        html += Row(heading, firstBodyPage);
    }
    return html + QStringLiteral("</table>");
}

} // namespace kestrix::manual
