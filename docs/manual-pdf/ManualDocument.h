#pragma once

// The manual's Markdown as a text document laid out on the pages of a paint device: images that
// are not there are left out, wide ones are scaled to the text width.

#include <QString>
#include <QTextDocument>
#include <vector>

class QPagedPaintDevice;

namespace kestrix::manual {

struct Heading {
    int level = 0;
    QString title;
    int page = 0;  // from 0, in the document it was found in
    qreal top = 0; // from the top of its page, in the document's units
};

// Call before LoadMarkdown, which fits images to the page width. Lays the document out in pages of
// the device's paint rectangle, less a footer of that height.
void LayOutInPages(QTextDocument& document, QPagedPaintDevice& device, qreal footerHeight);

// Markdown from text; image paths are relative to imageFolder.
void LoadMarkdown(QTextDocument& document, const QString& markdown, const QString& imageFolder);

// Headings of the levels up to maxLevel with the page each starts on; the document is laid out.
std::vector<Heading> HeadingsWithPages(const QTextDocument& document, int maxLevel);

} // namespace kestrix::manual
