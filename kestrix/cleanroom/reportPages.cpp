#include "kestrix/cleanroom/reportPages.h"

#include "kestrix/cleanroom/reportHtml.h"
#include "kestrix/cleanroom/reportPictures.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <cmath>

namespace kestrix::cleanroom {

namespace {

constexpr double kMarginMillimetres = 15;
constexpr double kMetresPerInch = 0.0254;
constexpr int kBodyPoints = 9;
constexpr int kFramePoints = 8;
constexpr double kHeaderLines = 2.5;
constexpr double kFooterLines = 2.5;
constexpr double kRuleLines = 1.3;
constexpr double kFigureShare = 0.9;
constexpr double kNoScreenDotsPerInch = 100;

QString FigureName(std::size_t figure) {
    return QStringLiteral("figure-%1.png").arg(figure);
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The text layout scales a picture's given size by the device's resolution over the screen's,
// so the size it is given is in screen pixels.
int ScreenPixels(int devicePixels, int dotsPerInch) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double screenDotsPerInch = screen ? screen->logicalDotsPerInchY() : kNoScreenDotsPerInch;
    return static_cast<int>(devicePixels * std::round(screenDotsPerInch) / dotsPerInch);
}

} // namespace

QPageLayout ReportPageLayout() {
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(
        QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
}

ReportPages::ReportPages(const ReportDocument& document, QPaintDevice& device, int dotsPerInch)
    : document_(document) {
    page_ = QRectF(QPointF(0, 0), ReportPageLayout().paintRectPixels(dotsPerInch).size());
    line_ = QFontMetricsF(ReportFont(kFramePoints), &device).height();
    body_ = page_.adjusted(0, line_ * kHeaderLines, 0, -line_ * kFooterLines);
    text_.documentLayout()->setPaintDevice(&device);
    text_.setDefaultFont(ReportFont(kBodyPoints));
    text_.setPageSize(body_.size());
    const int figureWidth = static_cast<int>(body_.width() * kFigureShare);
    const std::vector<QImage> images = FigureImages(document, figureWidth, dotsPerInch);
    for (std::size_t figure = 0; figure < images.size(); ++figure) {
        text_.addResource(QTextDocument::ImageResource, QUrl(FigureName(figure)), images[figure]);
    }
    const HtmlFigures figures{[](std::size_t f) { return FigureName(f).toStdString(); },
                              ScreenPixels(figureWidth, dotsPerInch)};
    text_.setHtml(Text(ReportHtml(document, figures, false)));
}

void ReportPages::PaintPage(QPainter& painter, int page) {
    painter.save();
    painter.translate(body_.left(), body_.top() - page * body_.height());
    text_.drawContents(&painter, QRectF(0, page * body_.height(), body_.width(), body_.height()));
    painter.restore();
    PaintFrame(painter, page + 1);
}

void ReportPages::PaintFrame(QPainter& painter, int page) const {
    painter.save();
    painter.setPen(Qt::black);
    const QRectF header(0, 0, page_.width(), line_);
    QFont bold = ReportFont(kFramePoints);
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, Text(document_.title));
    painter.setFont(ReportFont(kFramePoints));
    painter.drawText(header, Qt::AlignCenter, Text("Room: " + document_.room));
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter,
                     Text("Report ID: " + document_.reportId));
    painter.drawLine(QPointF(0, line_ * kRuleLines), QPointF(page_.width(), line_ * kRuleLines));
    const QRectF footer(0, page_.bottom() - line_, page_.width(), line_);
    const double rule = footer.top() - line_ * (kRuleLines - 1);
    painter.drawLine(QPointF(0, rule), QPointF(page_.width(), rule));
    const std::string head = document_.archiveHead.empty() ? "no archive" : document_.archiveHead;
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, Text("Archive head: " + head));
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Page %1 of %2").arg(page).arg(PageCount()));
    painter.restore();
}

std::vector<QImage> ReportPageImages(const ReportDocument& document, int dotsPerInch, int count) {
    const QPageLayout layout = ReportPageLayout();
    const QRect full = layout.fullRectPixels(dotsPerInch);
    const QPoint corner = layout.paintRectPixels(dotsPerInch).topLeft();
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / kMetresPerInch));
    QImage blank(full.size(), QImage::Format_RGB32);
    blank.setDotsPerMeterX(dotsPerMetre);
    blank.setDotsPerMeterY(dotsPerMetre);
    blank.fill(Qt::white);
    ReportPages pages(document, blank, dotsPerInch);
    std::vector<QImage> images;
    for (int page = 0; page < std::min(count, pages.PageCount()); ++page) {
        QImage image = blank.copy();
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(corner);
        pages.PaintPage(painter, page);
        images.push_back(std::move(image));
    }
    return images;
}

} // namespace kestrix::cleanroom
