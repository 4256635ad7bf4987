#pragma once

// Prints laid-out text documents one after the other, each page with its number at the foot.

#include <QPainter>
#include <QTextDocument>

namespace kestrix::manual {

class PdfPages {
public:
    PdfPages(QPagedPaintDevice& device, qreal footerHeight);

    // The document's pages, starting on a new page unless nothing was printed yet.
    void Print(QTextDocument& document);

private:
    void PrintPage(QTextDocument& document, int page);
    void PrintPageNumber();

    QPagedPaintDevice& device_;
    QPainter painter_;
    qreal footerHeight_;
    int printed_ = 0;
};

} // namespace kestrix::manual
