#include "Contents.h"

#include <QAbstractTextDocumentLayout>
#include <QTextTable>

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

QString ContentsHtml(const QString& title, const QString& version,
                     const std::vector<Heading>& headings, int firstBodyPage) {
    QString html = QStringLiteral("<h1>%1</h1><p>Version %2</p><h2>Contents</h2>"
                                  "<table width=\"100%\" cellpadding=\"2\">")
                       .arg(title.toHtmlEscaped(), version.toHtmlEscaped());
    for (const Heading& heading : headings) {
        html += Row(heading, firstBodyPage);
    }
    return html + QStringLiteral("</table>");
}

std::vector<QRectF> ContentsRows(const QTextDocument& contents) {
    std::vector<QRectF> rows;
    const auto* layout = contents.documentLayout();
    for (QTextFrame* frame : contents.rootFrame()->childFrames()) {
        const auto* table = qobject_cast<QTextTable*>(frame);
        for (int row = 0; table && row < table->rows(); ++row) {
            const auto cellArea = [&](int column) {
                return layout->blockBoundingRect(
                    table->cellAt(row, column).firstCursorPosition().block());
            };
            rows.push_back(cellArea(0).united(cellArea(1)));
        }
    }
    return rows;
}

} // namespace kestrix::manual
