#pragma once

// The report's charts and plans painted with QPainter: each location's mean as a bar against
// the limit, and the room from above with its numbered locations coloured by their result.

#include "kestrix/cleanroom/ReportDocument.h"

#include <QFont>
#include <QImage>
#include <vector>

class QPainter;
class QRectF;

namespace kestrix::cleanroom {

// The report's typeface at a size: without shaping, so no ligatures are drawn and text copied
// from the file comes back as printed.
QFont ReportFont(int points);

void PaintChart(QPainter& painter, const QRectF& area, const ReportChart& chart);
void PaintPlan(QPainter& painter, const QRectF& area, const RoomPlanDrawing& plan);

// Every chart and plan of the document in order, `width` pixels wide at `dotsPerInch`.
std::vector<QImage> FigureImages(const ReportDocument& document, int width, int dotsPerInch);

} // namespace kestrix::cleanroom
