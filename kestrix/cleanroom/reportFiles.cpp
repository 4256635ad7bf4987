#include "kestrix/cleanroom/reportFiles.h"

#include "kestrix/base/atomicFile.h"
#include "kestrix/cleanroom/reportHtml.h"
#include "kestrix/cleanroom/reportJson.h"
#include "kestrix/cleanroom/reportPdf.h"
#include "kestrix/cleanroom/reportPictures.h"
#include "kestrix/cleanroom/reportSections.h"

#include <QBuffer>
#include <array>

namespace kestrix::cleanroom {

namespace {

constexpr std::array kOffered{ReportFileKind::Pdf, ReportFileKind::Html, ReportFileKind::Json};
constexpr int kHtmlFigureWidth = 800;
constexpr int kScreenDotsPerInch = 96;

// The page carries its pictures, so the one file is the whole report.
std::string HtmlPage(const ReportDocument& document) {
    std::vector<std::string> sources;
    for (const QImage& image : FigureImages(document, kHtmlFigureWidth, kScreenDotsPerInch)) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        sources.push_back("data:image/png;base64," + png.toBase64().toStdString());
    }
    return ReportHtml(document, {[&](std::size_t f) { return sources.at(f); }, kHtmlFigureWidth},
                      true);
}

} // namespace

std::optional<ReportFileKind> ReportFileKindOf(const std::string& fileName) {
    return table::ReportFileKindOf(fileName, kOffered);
}

std::string SaveReport(const ClassificationReport& report, const std::string& fileName) {
    const std::optional<ReportFileKind> kind = ReportFileKindOf(fileName);
    if (!kind) {
        return std::string("the file name must end in ") + kReportFileEndings;
    }
    std::string error;
    if (*kind == ReportFileKind::Json) {
        base::ReplaceFileAtomically(fileName, ReportJson(report), &error);
        return error;
    }
    const ReportDocument document = BuildReportDocument(report);
    if (*kind == ReportFileKind::Pdf) {
        WriteReportPdf(document, fileName, error);
        return error;
    }
    base::ReplaceFileAtomically(fileName, HtmlPage(document), &error);
    return error;
}

} // namespace kestrix::cleanroom
