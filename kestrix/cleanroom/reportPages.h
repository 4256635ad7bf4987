#pragma once

// The report document typeset on portrait pages of the user's locale's paper (Letter where
// measurements are US customary, A4 elsewhere): every page headed by the title, room and report
// ID and footed by the archive head and "Page n of m". Painted into the PDF, and into pictures
// of pages. Needs a QGuiApplication.

#include "kestrix/cleanroom/ReportDocument.h"

#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QTextDocument>
#include <vector>

class QPaintDevice;
class QPainter;

namespace kestrix::cleanroom {

QPageLayout ReportPageLayout();

class ReportPages {
public:
    // Lays the document out for `device` at `dotsPerInch`, on the page layout's paint area.
    ReportPages(const ReportDocument& document, QPaintDevice& device, int dotsPerInch);

    int PageCount() const { return text_.pageCount(); }
    // Paints page `page` (from 0) with the painter's origin at the paint area's corner.
    void PaintPage(QPainter& painter, int page);

private:
    void PaintFrame(QPainter& painter, int page) const;

    const ReportDocument& document_;
    QTextDocument text_;
    QRectF page_;
    QRectF body_;
    double line_ = 0;
};

// The first `count` pages (fewer when the report has fewer) as pictures at `dotsPerInch`.
std::vector<QImage> ReportPageImages(const ReportDocument& document, int dotsPerInch, int count);

} // namespace kestrix::cleanroom
