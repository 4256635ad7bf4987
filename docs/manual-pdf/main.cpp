// kestrix-manual-pdf: turns the user's manual from Markdown into a PDF with a table of contents
// and page numbers, with Qt alone.
//
//   kestrix-manual-pdf MANUAL.md IMAGE_FOLDER OUTPUT.pdf

#include "Contents.h"
#include "ManualDocument.h"
#include "PdfPages.h"

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
void LoadContents(QTextDocument& contents, const std::vector<Heading>& headings) {
    contents.setHtml(ContentsHtml(kTitle, headings, 1));
    contents.setHtml(ContentsHtml(kTitle, headings, contents.pageCount() + 1));
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: kestrix-manual-pdf MANUAL.md IMAGE_FOLDER OUTPUT.pdf\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "kestrix-manual-pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    QPdfWriter writer(QString::fromLocal8Bit(argv[3]));
    Prepare(writer);
    const qreal footerHeight = writer.logicalDpiY() / 2.0;

    QTextDocument body;
    LayOutInPages(body, writer, footerHeight);
    LoadMarkdown(body, QString::fromUtf8(source.readAll()), QString::fromLocal8Bit(argv[2]));
    QTextDocument contents;
    LayOutInPages(contents, writer, footerHeight);
    LoadContents(contents, HeadingsWithPages(body, kContentsLevels));

    PdfPages pages(writer, footerHeight);
    pages.Print(contents);
    pages.Print(body);
    return 0;
}
