#pragma once

// The title page and table of contents: each heading with the page number printed on its page.

#include "ManualDocument.h"

#include <QRectF>
#include <QString>
#include <QTextDocument>
#include <vector>

namespace kestrix::manual {

// HTML of the title page with the version and the contents; a heading on page p of the body is
// numbered p + firstBodyPage.
QString ContentsHtml(const QString& title, const QString& version,
                     const std::vector<Heading>& headings, int firstBodyPage);

// The area of each heading's row in the laid-out contents, in the headings' order.
std::vector<QRectF> ContentsRows(const QTextDocument& contents);

} // namespace kestrix::manual
