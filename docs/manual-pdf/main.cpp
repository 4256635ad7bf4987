// kestrix-manual-pdf: turns the user's manual from Markdown into a PDF with a title page, a table
// of contents that links to its chapters, an outline and page numbers, with Qt alone.
//
//   kestrix-manual-pdf MANUAL.md IMAGE_FOLDER OUTPUT.pdf VERSION

#include "Contents.h"
#include "ManualDocument.h"
#include "PdfNavigation.h"
#include "PdfPages.h"
#include "Placement.h"

#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <cstdio>

namespace {

using namespace kestrix::manual;

constexpr int kResolution = 144;
constexpr qreal kMarginMm = 20;
constexpr int kContentsLevels = 2;
const QString kTitle = QStringLiteral("Kestrix User's Manual");

void Prepare(QPdfWriter& writer) {
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm));
    writer.setTitle(kTitle);
    writer.setCreator(QStringLiteral("Kestrix"));
}

// The page count of the contents does not depend on the numbers in it, so a first layout with
// any numbers tells where the body starts.
void LoadContents(QTextDocument& contents, const QString& version,
                  const std::vector<Heading>& headings) {
    contents.setHtml(ContentsHtml(kTitle, version, headings, 1));
    contents.setHtml(ContentsHtml(kTitle, version, headings, contents.pageCount() + 1));
}

// The outline of the body's headings, and a link from each row of the contents to its heading.
std::pair<std::vector<OutlineEntry>, std::vector<PageLink>>
Navigation(const std::vector<Heading>& headings, const QTextDocument& contents,
           const Placement& placement) {
    const int bodyPage = contents.pageCount();
    const std::vector<QRectF> rows = ContentsRows(contents);
    std::vector<OutlineEntry> outline;
    std::vector<PageLink> links;
    for (std::size_t i = 0; i < headings.size(); ++i) {
        const Heading& heading = headings[i];
        outline.push_back(
            {heading.level, heading.title, placement.At(bodyPage, heading.page, heading.top)});
        if (i < rows.size()) {
            links.push_back(placement.Link(0, rows[i], outline.back().place));
        }
    }
    return {outline, links};
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: kestrix-manual-pdf MANUAL.md IMAGE_FOLDER OUTPUT.pdf VERSION\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "kestrix-manual-pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[3]);
    std::pair<std::vector<OutlineEntry>, std::vector<PageLink>> navigation;
    {
        QPdfWriter writer(output);
        Prepare(writer);
        const qreal footerHeight = writer.logicalDpiY() / 2.0;

        QTextDocument body;
        LayOutInPages(body, writer, footerHeight);
        LoadMarkdown(body, QString::fromUtf8(source.readAll()), QString::fromLocal8Bit(argv[2]));
        QTextDocument contents;
        LayOutInPages(contents, writer, footerHeight);
        const std::vector<Heading> headings = HeadingsWithPages(body, kContentsLevels);
        LoadContents(contents, QString::fromLocal8Bit(argv[4]), headings);
        navigation = Navigation(
            headings, contents,
            Placement(writer.pageLayout(), contents.pageSize().height(), 72.0 / kResolution));

        PdfPages pages(writer, footerHeight);
        pages.Print(contents);
        pages.Print(body);
    } // the writer finishes the file when it goes
    if (const QString error = AppendNavigation(output, navigation.first, navigation.second);
        !error.isEmpty()) {
        std::fprintf(stderr, "kestrix-manual-pdf: no outline in %s: %s\n", argv[3],
                     qPrintable(error));
        return 1;
    }
    return 0;
}
