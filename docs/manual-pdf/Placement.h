#pragma once

// Where a place of a document laid out in pages lands in the PDF file: in points from the foot of
// its page, as links and the outline name places.

#include "PdfNavigation.h"

#include <QPageLayout>
#include <QRectF>

namespace kestrix::manual {

class Placement {
public:
    // pageHeight in the document's units, pointsPerUnit their size.
    Placement(const QPageLayout& layout, qreal pageHeight, qreal pointsPerUnit);

    // A height on a page of a document that begins on the file's page firstPage.
    PdfPlace At(int firstPage, int page, qreal yInPage) const;
    // A link from an area of such a document, in its units.
    PageLink Link(int firstPage, const QRectF& area, const PdfPlace& target) const;

private:
    qreal left_;
    qreal top_;
    qreal pageHeight_;
    qreal pointsPerUnit_;
};

} // namespace kestrix::manual
