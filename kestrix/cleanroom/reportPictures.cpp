#include "kestrix/cleanroom/reportPictures.h"

#include "kestrix/cleanroom/reportFigures.h"
#include "kestrix/cleanroom/reportTexts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace kestrix::cleanroom {

namespace {

const QColor kPassColour(0x2e, 0x8b, 0x3a);
const QColor kFailColour(0xc0, 0x00, 0x00);
const QColor kLimitColour(0x20, 0x20, 0x20);
const QColor kGridColour(0xd0, 0xd0, 0xd0);
constexpr double kMetresPerInch = 0.0254;
constexpr int kFontPoints = 8;
constexpr int kLinearTicks = 5;
constexpr double kHeadroom = 1.15;
constexpr double kBarFill = 0.6;
constexpr double kMarkerLines = 1.6; // a location's circle, in text lines

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Maps a concentration to a height share 0..1 on the chart's axis.
class ValueAxis {
public:
    explicit ValueAxis(const ReportChart& chart) : log_(chart.logScale) {
        double largest = chart.limit;
        double smallest = chart.limit;
        for (const ChartBar& bar : chart.bars) {
            largest = std::max(largest, bar.value);
            if (bar.value > 0) {
                smallest = std::min(smallest, bar.value);
            }
        }
        top_ = log_ ? std::pow(10.0, std::ceil(std::log10(largest))) : largest * kHeadroom;
        bottom_ = log_ ? std::pow(10.0, std::floor(std::log10(smallest))) : 0.0;
        if (!(top_ > bottom_)) {
            top_ = bottom_ + 1.0;
        }
    }

    double Share(double value) const {
        if (log_) {
            return value <= bottom_ ? 0.0
                                    : (std::log10(value) - std::log10(bottom_)) /
                                          (std::log10(top_) - std::log10(bottom_));
        }
        return value / top_;
    }

    std::vector<double> Ticks() const {
        std::vector<double> ticks;
        if (log_) {
            for (double tick = bottom_; tick <= top_ * 1.001; tick *= 10.0) {
                ticks.push_back(tick);
            }
            return ticks;
        }
        for (int step = 0; step <= kLinearTicks; ++step) {
            ticks.push_back(top_ / kHeadroom * step / kLinearTicks);
        }
        return ticks;
    }

private:
    bool log_;
    double top_ = 1;
    double bottom_ = 0;
};

void PaintAxis(QPainter& painter, const QRectF& plot, const ValueAxis& axis) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const double tick : axis.Ticks()) {
        const double y = plot.bottom() - axis.Share(tick) * plot.height();
        painter.setPen(kGridColour);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        const QString label = Text(WholeNumberText(tick));
        painter.drawText(QRectF(0, y - metrics.height() / 2,
                                plot.left() - metrics.averageCharWidth(), metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
}

} // namespace

QFont ReportFont(int points) {
    QFont font(QStringLiteral("DejaVu Sans"), points);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void PaintChart(QPainter& painter, const QRectF& area, const ReportChart& chart) {
    painter.save();
    painter.setFont(ReportFont(kFontPoints));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const ValueAxis axis(chart);
    const double labelWidth = metrics.horizontalAdvance(QStringLiteral("10,000,000,000 "));
    const QRectF plot(area.left() + labelWidth, area.top() + metrics.height(),
                      area.width() - labelWidth - metrics.averageCharWidth(),
                      area.height() - 3 * metrics.height());
    PaintAxis(painter, plot, axis);
    const double slot =
        plot.width() / static_cast<double>(std::max<std::size_t>(chart.bars.size(), 1));
    for (std::size_t index = 0; index < chart.bars.size(); ++index) {
        const ChartBar& bar = chart.bars[index];
        const double share = std::clamp(axis.Share(bar.value), 0.0, 1.0);
        const double left = plot.left() + slot * (static_cast<double>(index) + (1 - kBarFill) / 2);
        painter.fillRect(QRectF(left, plot.bottom() - share * plot.height(), slot * kBarFill,
                                share * plot.height()),
                         bar.passed ? kPassColour : kFailColour);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() + slot * static_cast<double>(index), plot.bottom(),
                                slot, metrics.height() * 1.5),
                         Qt::AlignCenter, Text(bar.label));
    }
    const double limitY = plot.bottom() - axis.Share(chart.limit) * plot.height();
    painter.setPen(QPen(kLimitColour, metrics.lineWidth() * 2, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), limitY), QPointF(plot.right(), limitY));
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(plot.left(), limitY - metrics.height() * 1.2, plot.width(), metrics.height()),
        Qt::AlignRight | Qt::AlignBottom, Text(chart.limitLabel));
    painter.drawText(
        QRectF(plot.left(), area.bottom() - metrics.height(), plot.width(), metrics.height()),
        Qt::AlignCenter, QStringLiteral("Location"));
    painter.restore();
}

// "● pass  ● fail", right-aligned in the row.
void PaintPlanLegend(QPainter& painter, const QRectF& row, const QFontMetricsF& metrics) {
    const double radius = metrics.height() / 3;
    double right = row.right();
    for (const auto& [colour, word] : {std::pair{kFailColour, QStringLiteral("fail")},
                                       std::pair{kPassColour, QStringLiteral("pass")}}) {
        const double textWidth = metrics.horizontalAdvance(word);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(right - textWidth, row.top(), textWidth, metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop, word);
        const QPointF centre(right - textWidth - radius * 2, row.top() + metrics.height() / 2);
        painter.setBrush(colour);
        painter.drawEllipse(centre, radius, radius);
        right = centre.x() - radius * 4;
    }
}

void PaintPlan(QPainter& painter, const QRectF& area, const RoomPlanDrawing& plan) {
    painter.save();
    painter.setFont(ReportFont(kFontPoints));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double margin = metrics.height() * 2;
    const QString lengthLabel = Text(" length " + OneDecimalText(plan.length) + " m");
    const double labelWidth = metrics.horizontalAdvance(lengthLabel) + metrics.height();
    const double scale = std::min((area.width() - margin - labelWidth) / plan.width,
                                  (area.height() - 2 * margin) / plan.length);
    const QRectF room(area.left() + margin, area.top() + margin, plan.width * scale,
                      plan.length * scale);
    painter.setPen(QPen(Qt::black, metrics.lineWidth() * 2));
    painter.drawRect(room);
    painter.drawText(QRectF(room.left(), area.top(), room.width(), margin), Qt::AlignCenter,
                     Text("width " + OneDecimalText(plan.width) + " m"));
    painter.drawText(QRectF(room.right(), room.top(), labelWidth, room.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, lengthLabel);
    const QRectF underRoom(room.left(), room.bottom() + metrics.height() / 4, room.width(), margin);
    painter.drawText(underRoom, Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("(0, 0) at the top left"));
    PaintPlanLegend(painter, underRoom, metrics);
    const double radius = metrics.height() * kMarkerLines / 2;
    for (const PlanItem& item : plan.items) {
        const QPointF centre(room.left() + item.point.x * scale, room.top() + item.point.y * scale);
        painter.setPen(Qt::black);
        painter.setBrush(item.passed ? kPassColour : kFailColour);
        painter.drawEllipse(centre, radius, radius);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                         Qt::AlignCenter, QString::number(item.location));
    }
    painter.restore();
}

std::vector<QImage> FigureImages(const ReportDocument& document, int width, int dotsPerInch) {
    std::vector<QImage> images;
    const auto draw = [&](double aspect, const auto& paint) {
        QImage image(width, static_cast<int>(std::lround(width * aspect)), QImage::Format_RGB32);
        const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / kMetresPerInch));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(painter, QRectF(image.rect()));
        images.push_back(std::move(image));
    };
    for (const ReportSection& section : document.sections) {
        for (const ReportBlock& block : section.blocks) {
            if (const auto* chart = std::get_if<ReportChart>(&block)) {
                draw(FigureAspect(*chart),
                     [&](QPainter& p, const QRectF& r) { PaintChart(p, r, *chart); });
            } else if (const auto* plan = std::get_if<RoomPlanDrawing>(&block)) {
                draw(FigureAspect(*plan),
                     [&](QPainter& p, const QRectF& r) { PaintPlan(p, r, *plan); });
            }
        }
    }
    return images;
}

} // namespace kestrix::cleanroom
