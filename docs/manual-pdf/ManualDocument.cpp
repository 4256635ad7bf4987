#include "ManualDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPagedPaintDevice>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>

namespace kestrix::manual {
namespace {

// Screenshots are rendered by a separate script; a manual built without them still reads well.
QString WithoutMissingImages(const QString& markdown, const QDir& imageFolder) {
    static const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(([^)\s]+)\)\n?)"));
    QString result = markdown;
    for (auto match = image.globalMatch(markdown); match.hasNext();) {
        const auto found = match.next();
        if (!QFileInfo(imageFolder.filePath(found.captured(1))).isFile()) {
            result.replace(found.captured(0), QString());
        }
    }
    return result;
}

struct ImageRange {
    int position = 0;
    int length = 0;
    QTextImageFormat format;
};

std::vector<ImageRange> Images(const QTextDocument& document) {
    std::vector<ImageRange> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat()) {
                images.push_back({fragment.position(), fragment.length(),
                                  fragment.charFormat().toImageFormat()});
            }
        }
    }
    return images;
}

void FitImagesToWidth(QTextDocument& document, const QDir& imageFolder, qreal width) {
    for (ImageRange image : Images(document)) {
        const QSize natural = QImageReader(imageFolder.filePath(image.format.name())).size();
        if (natural.isEmpty()) {
            continue;
        }
        const qreal scale = std::min(1.0, width / natural.width());
        image.format.setWidth(natural.width() * scale);
        image.format.setHeight(natural.height() * scale);
        QTextCursor cursor(&document);
        cursor.setPosition(image.position);
        cursor.setPosition(image.position + image.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(image.format);
    }
}

} // namespace

void LayOutInPages(QTextDocument& document, QPagedPaintDevice& device, qreal footerHeight) {
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(QSizeF(page.width(), page.height() - footerHeight));
}

void LoadMarkdown(QTextDocument& document, const QString& markdown, const QString& imageFolder) {
    const QDir folder(imageFolder);
    document.setBaseUrl(QUrl::fromLocalFile(folder.absolutePath() + QLatin1Char('/')));
    document.setMarkdown(WithoutMissingImages(markdown, folder));
    FitImagesToWidth(document, folder, document.pageSize().width());
}

std::vector<Heading> HeadingsWithPages(const QTextDocument& document, int maxLevel) {
    std::vector<Heading> headings;
    const qreal pageHeight = document.pageSize().height();
    auto* layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level > 0 && level <= maxLevel) {
            const qreal top = layout->blockBoundingRect(block).top();
            const int page = static_cast<int>(top / pageHeight);
            headings.push_back({level, block.text(), page, top - page * pageHeight});
        }
    }
    return headings;
}

} // namespace kestrix::manual
