#include "PdfPages.h"

#include <QPagedPaintDevice>

namespace kestrix::manual {

PdfPages::PdfPages(QPagedPaintDevice& device, qreal footerHeight)
    : device_(device), painter_(&device), footerHeight_(footerHeight) {}

void PdfPages::Print(QTextDocument& document) {
    for (int page = 0; page < document.pageCount(); ++page) {
        PrintPage(document, page);
    }
}

void PdfPages::PrintPage(QTextDocument& document, int page) {
    if (printed_ > 0) {
        device_.newPage();
    }
    const QSizeF size = document.pageSize();
    const QRectF area(0, page * size.height(), size.width(), size.height());
    painter_.save();
    painter_.translate(0, -area.top());
    document.drawContents(&painter_, area);
    painter_.restore();
    ++printed_;
    PrintPageNumber();
}

void PdfPages::PrintPageNumber() {
    const QRectF page = device_.pageLayout().paintRectPixels(device_.logicalDpiX());
    const QRectF footer(0, page.height() - footerHeight_, page.width(), footerHeight_);
    painter_.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom, QString::number(printed_));
}

} // namespace kestrix::manual
