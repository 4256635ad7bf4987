#pragma once

// The report document as an HTML page: the page the .html file holds, and what the PDF is
// typeset from. Charts and plans are pictures made by the caller.

#include "kestrix/cleanroom/ReportDocument.h"

#include <cstddef>
#include <functional>
#include <string>

namespace kestrix::cleanroom {

struct HtmlFigures {
    // The picture's source for figure n, the charts and plans counted in document order.
    std::function<std::string(std::size_t figure)> source;
    int width = 0; // of every figure, in the page's pixels
};

// `withHeader` puts the title, room and report ID at the top: the PDF paints them on every
// page instead.
std::string ReportHtml(const ReportDocument& document, const HtmlFigures& figures, bool withHeader);

} // namespace kestrix::cleanroom
