#include "Placement.h"

namespace kestrix::manual {

Placement::Placement(const QPageLayout& layout, qreal pageHeight, qreal pointsPerUnit)
    : left_(layout.paintRectPoints().left()),
      top_(layout.fullRectPoints().height() - layout.paintRectPoints().top()),
      pageHeight_(pageHeight), pointsPerUnit_(pointsPerUnit) {}

PdfPlace Placement::At(int firstPage, int page, qreal yInPage) const {
    return {firstPage + page, top_ - yInPage * pointsPerUnit_};
}

PageLink Placement::Link(int firstPage, const QRectF& area, const PdfPlace& target) const {
    const int page = static_cast<int>(area.top() / pageHeight_);
    const PdfPlace place = At(firstPage, page, area.top() - page * pageHeight_);
    return {place.page,
            QRectF(left_ + area.left() * pointsPerUnit_, place.top, area.width() * pointsPerUnit_,
                   -area.height() * pointsPerUnit_),
            target};
}

} // namespace kestrix::manual
