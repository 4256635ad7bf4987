#include "kestrix/table/writers/HtmlWriter.h"

#include "SampleTable.h"

#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace kestrix::table {
namespace {

using testing::MakeSampleTable;

std::string Html(const GridModel& grid, char decimalSeparator = '.') {
    std::ostringstream out;
    WriteHtml(grid, out, decimalSeparator);
    return out.str();
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(HtmlWriter, EscapesMarkupQuotesAndLineBreaks) {
    EXPECT_EQ(EscapeHtml("<b>&\"x\"'</b>"), "&lt;b&gt;&amp;&quot;x&quot;&#39;&lt;/b&gt;");
    EXPECT_EQ(EscapeHtml("a\r\nb"), "a&#10;b");
    EXPECT_EQ(EscapeHtml("\xC2\xB5m"), "\xC2\xB5m");
}

TEST(HtmlWriter, IsAStandaloneUtf8Page) {
    const std::string html = Html(MakeSampleTable(QLocale::c(), {1, 2}).grid);
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("</html>\n"), std::string::npos);
}

TEST(HtmlWriter, HeadingRowsGoIntoTheHeadAsHeaderCells) {
    const std::string html = Html(MakeSampleTable(QLocale::c(), {1, 2}).grid);
    const std::string head =
        html.substr(html.find("<thead>"), html.find("</thead>") - html.find("<thead>"));
    EXPECT_EQ(Count(head, "<tr>"), 3u); // header line and two title rows
    EXPECT_EQ(Count(head, "<td"), 0u);
    EXPECT_NE(head.find(">0.3 micron</th>"), std::string::npos);
    const std::string body = html.substr(html.find("<tbody>"));
    EXPECT_EQ(Count(body, "<th"), 0u);
    EXPECT_EQ(Count(body, "<tr>"), 5u); // two data rows, three statistics rows
}

TEST(HtmlWriter, SpanBecomesColspanAndCoveredCellsAreLeftOut) {
    const std::string html = Html(MakeSampleTable(QLocale::c(), {1, 2}).grid);
    const std::regex headerLine("<tr><th class=\"f\\d+\" colspan=\"3\">Instrument Model: "
                                "&lt;IAQ &amp; &quot;Co&quot;&gt;</th></tr>");
    EXPECT_TRUE(std::regex_search(html, headerLine)) << html;
}

TEST(HtmlWriter, NotesBecomeTooltipsAndColoursStyles) {
    const std::string html = Html(MakeSampleTable(QLocale::c(), {1, 2}).grid);
    const std::smatch found = [&] {
        std::smatch match;
        std::regex_search(html, match,
                          std::regex("<td class=\"(f\\d+)\" title=\"- Instrument "
                                     "malfunctioned.&#10;- Bad laser voltage.\">1</td>"));
        return match;
    }();
    ASSERT_FALSE(found.empty()) << html;
    const std::string style = "." + found[1].str() + "{color:#FF00FF;";
    EXPECT_NE(html.find(style), std::string::npos);
}

TEST(HtmlWriter, NumbersUseTheGivenDecimalSeparator) {
    GridModel grid;
    grid.SetColumnCount(1);
    grid.AddRow();
    grid.SetNumber(1, 1, 2.5, 2);
    EXPECT_NE(Html(grid, ',').find(">2,50</td>"), std::string::npos);
    EXPECT_EQ(Html(grid, ',').find("<thead>"), std::string::npos);
}

} // namespace
} // namespace kestrix::table
