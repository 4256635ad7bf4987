// Exports a full instrument memory laid out as the data table (65,535 data rows, 85 columns,
// header lines, titles, statistics rows) as CSV, HTML and xlsx, and prints the times and the
// peak resident memory of the whole run.

#include "kestrix/shell/userLocale.h"
#include "kestrix/table/tableRowKinds.h"
#include "kestrix/table/writers/CsvWriter.h"
#include "kestrix/table/writers/HtmlWriter.h"
#include "kestrix/table/writers/XlsxWriter.h"
#include "support/PeakMemory.h"
#include "support/SampleGrid.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

using kestrix::table::GridModel;

constexpr int kHeaderLines = 5;

// Header lines above the titles; header lines and titles stay in view when scrolling.
GridModel BuildTable() {
    GridModel grid = kestrix::bench::BuildSampleGrid();
    for (int line = 1; line <= kHeaderLines; ++line) {
        grid.InsertRowAbove(line);
        grid.SetRowUserValue(line, kestrix::table::kRowHeaderLine);
        grid.SetText(1, line, "Header line " + std::to_string(line));
        grid.SetSpan(1, line, grid.ColumnCount());
    }
    grid.SetFrozenRows(kHeaderLines + kestrix::bench::kSampleGridTitleRows);
    return grid;
}

void Measure(const char* name, const std::string& path, const std::function<void()>& write) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t startCpu = std::clock();
    write();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const double cpu = static_cast<double>(std::clock() - startCpu) / CLOCKS_PER_SEC;
    std::printf("%-22s %7.2f s wall  %7.2f s CPU  %8.1f MB file\n", name, took.count(), cpu,
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);
}

void WriteXlsxOrReport(const GridModel& grid, const std::string& path) {
    std::string error;
    if (!kestrix::table::WriteXlsx(grid, path, {kestrix::UserLocale()}, error)) {
        std::printf("%s\n", error.c_str());
    }
}

} // namespace

int main() {
    const GridModel grid = BuildTable();
    std::printf("%d rows x %d columns\n", grid.RowCount(), grid.ColumnCount());
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string csv = folder + "/export_bench.csv";
    const std::string html = folder + "/export_bench.html";
    const std::string xlsx = folder + "/export_bench.xlsx";
    Measure("CSV", csv, [&] {
        std::ofstream out(csv, std::ios::binary);
        kestrix::table::WriteCsv(grid, out, kestrix::table::CsvOptionsFor('.'));
    });
    Measure("HTML", html, [&] {
        std::ofstream out(html, std::ios::binary);
        kestrix::table::WriteHtml(grid, out, '.');
    });
    Measure("XLSX", xlsx, [&] { WriteXlsxOrReport(grid, xlsx); });
    std::printf("peak resident memory   %7.1f MB\n", PeakResidentMegabytes());
    for (const std::string& path : {csv, html, xlsx}) {
        std::filesystem::remove(path);
    }
}
