#pragma once

// The table of contents: each heading with the page number printed on its page.

#include "ManualDocument.h"

#include <QString>
#include <vector>

namespace kestrix::manual {

// HTML of the contents; a heading on page p of the body is numbered p + firstBodyPage.
QString ContentsHtml(const QString& title, const std::vector<Heading>& headings, int firstBodyPage);

} // namespace kestrix::manual
