#include "kestrix/cleanroom/reportHtml.h"

#include "kestrix/cleanroom/reportFigures.h"

#include <QString>
#include <cmath>

namespace kestrix::cleanroom {

namespace {

constexpr const char* kPassColour = "#008000";
constexpr const char* kFailColour = "#c00000";
constexpr const char* kWarningColour = "#a05a00";

std::string Escaped(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped().toStdString();
}

std::string Coloured(const std::string& text, const char* colour, bool bold) {
    const std::string escaped = Escaped(text);
    return std::string("<span style=\"color:") + colour + "\">" +
           (bold ? "<b>" + escaped + "</b>" : escaped) + "</span>";
}

class HtmlWriter {
public:
    explicit HtmlWriter(const HtmlFigures& figures) : figures_(figures) {}

    std::string Run(const ReportDocument& document, bool withHeader) {
        html_ = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                Escaped(document.title) + "</title></head>\n<body>\n";
        if (withHeader) {
            html_ += "<h1>" + Escaped(document.title) +
                     "</h1>\n<p>Room: " + Escaped(document.room) +
                     "<br>Report ID: " + Escaped(document.reportId);
            if (!document.archiveHead.empty()) {
                html_ += "<br>Archive head: " + Escaped(document.archiveHead);
            }
            html_ += "</p>\n";
        }
        for (const ReportSection& section : document.sections) {
            html_ += "<h2>" + Escaped(section.title) + "</h2>\n";
            for (const ReportBlock& block : section.blocks) {
                std::visit([this](const auto& item) { Add(item); }, block);
            }
        }
        html_ += "</body></html>\n";
        return std::move(html_);
    }

private:
    void Add(const ReportLine& line) {
        switch (line.style) {
        case LineStyle::Plain:
            html_ += "<p>" + Escaped(line.text) + "</p>\n";
            return;
        case LineStyle::Warning:
            html_ += "<p>" + Coloured(line.text, kWarningColour, false) + "</p>\n";
            return;
        case LineStyle::Pass:
        case LineStyle::Fail:
            html_ += "<p>" +
                     Coloured(line.text, line.style == LineStyle::Pass ? kPassColour : kFailColour,
                              true) +
                     "</p>\n";
            return;
        }
    }

    void OpenTable(const std::vector<std::string>& headings) {
        html_ += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\" "
                 "style=\"border-collapse:collapse\">\n<tr>";
        for (const std::string& heading : headings) {
            html_ += "<th>" + Escaped(heading) + "</th>";
        }
        html_ += "</tr>\n";
    }

    void Add(const ReportTable& table) {
        html_ += "<p><b>" + Escaped(table.caption) + "</b></p>\n";
        OpenTable(table.headings);
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            html_ += "<tr>";
            const auto& cells = table.rows[row];
            for (std::size_t column = 0; column < cells.size(); ++column) {
                const std::optional<bool> passed = table.rowPassed[row];
                const bool result = passed && column + 1 == cells.size();
                html_ += result ? "<td align=\"center\">" +
                                      Coloured(cells[column], *passed ? kPassColour : kFailColour,
                                               !*passed) +
                                      "</td>"
                                : "<td>" + Escaped(cells[column]) + "</td>";
            }
            html_ += "</tr>\n";
        }
        html_ += "</table>\n";
    }

    void AddFigure(const std::string& caption, double aspect) {
        const auto height = static_cast<int>(std::lround(figures_.width * aspect));
        html_ += "<p><img src=\"" + Escaped(figures_.source(figureCount_++)) + "\" width=\"" +
                 std::to_string(figures_.width) + "\" height=\"" + std::to_string(height) +
                 "\" alt=\"" + Escaped(caption) + "\"></p>\n";
    }

    void Add(const ReportChart& chart) {
        html_ += "<p>" + Escaped(chart.caption) + "</p>\n";
        AddFigure(chart.caption, FigureAspect(chart));
    }

    void Add(const RoomPlanDrawing& plan) {
        AddFigure("Plan of the sampling locations", FigureAspect(plan));
    }

    void Add(const SignatureBlock& block) {
        OpenTable(block.headings);
        for (int row = 0; row < block.rows; ++row) {
            html_ += "<tr>";
            for (std::size_t column = 0; column < block.headings.size(); ++column) {
                html_ += "<td>&nbsp;<br>&nbsp;<br>&nbsp;</td>";
            }
            html_ += "</tr>\n";
        }
        html_ += "</table>\n";
    }

    const HtmlFigures& figures_;
    std::string html_;
    std::size_t figureCount_ = 0;
};

} // namespace

std::string ReportHtml(const ReportDocument& document, const HtmlFigures& figures,
                       bool withHeader) {
    return HtmlWriter(figures).Run(document, withHeader);
}

} // namespace kestrix::cleanroom
