#pragma once

// The outline (bookmarks) and the links of the contents in a PDF written by QPdfWriter, which
// makes neither: added by an incremental update.

#include <QRectF>
#include <QString>
#include <vector>

namespace kestrix::manual {

// A place in the file: a page from 0, and a height in points from the foot of the page.
struct PdfPlace {
    int page = 0;
    qreal top = 0;
};

struct OutlineEntry {
    int level = 1; // 1 for a chapter, 2 for its sections, ...
    QString title;
    PdfPlace place;
};

struct PageLink {
    int page = 0;
    QRectF area; // in points, from the foot of the page
    PdfPlace target;
};

// The entries in their order become the outline, shown when the file is opened; each link's
// area goes to its target when clicked. An empty text when done, else why not.
QString AppendNavigation(const QString& pdfPath, const std::vector<OutlineEntry>& outline,
                         const std::vector<PageLink>& links);

} // namespace kestrix::manual
