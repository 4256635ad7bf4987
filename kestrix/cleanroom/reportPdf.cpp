#include "kestrix/cleanroom/reportPdf.h"

#include "kestrix/cleanroom/reportPages.h"
#include "kestrix/table/print/pdfFile.h"

#include <QPainter>

namespace kestrix::cleanroom {

namespace {

constexpr int kPdfResolution = 300;

bool PaintPdf(const ReportDocument& document, QPdfWriter& writer) {
    writer.setTitle(QString::fromStdString(document.title + " " + document.reportId));
    ReportPages pages(document, writer, kPdfResolution);
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    for (int page = 0; page < pages.PageCount(); ++page) {
        if (page > 0 && !writer.newPage()) {
            return false;
        }
        pages.PaintPage(painter, page);
    }
    return painter.end();
}

} // namespace

bool WriteReportPdf(const ReportDocument& document, const std::string& fileName,
                    std::string& error) {
    return table::WritePdfFile(
        fileName, ReportPageLayout(), kPdfResolution,
        [&document](QPdfWriter& writer) { return PaintPdf(document, writer); }, error);
}

} // namespace kestrix::cleanroom
