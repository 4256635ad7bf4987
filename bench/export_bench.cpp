// Exports a full instrument memory laid out as the data table (65,535 data rows, 85 columns,
// header lines, titles, statistics rows) as CSV, HTML and xlsx, and prints the times.

#include "kestrix/shell/userLocale.h"
#include "kestrix/table/GridModel.h"
#include "kestrix/table/tableRowKinds.h"
#include "kestrix/table/writers/CsvWriter.h"
#include "kestrix/table/writers/HtmlWriter.h"
#include "kestrix/table/writers/XlsxWriter.h"

#include <QDateTime>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>

namespace {

using kestrix::table::GridModel;

constexpr int kColumns = 85;
constexpr int kRecords = 65535;
constexpr int kFirstNumberColumn = 3;
constexpr kestrix::table::Rgb kMagenta = kestrix::table::Rgb::FromHex(0xFF00FF);

int AddRowOfKind(GridModel& grid, std::int32_t kind) {
    const int row = grid.AddRow();
    grid.SetRowUserValue(row, kind);
    return row;
}

void FillRecords(GridModel& grid, const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat) + " HH:mm:ss";
    const QDateTime start(QDate(2024, 3, 9), QTime(0, 0));
    for (int record = 0; record < kRecords; ++record) {
        const int row = AddRowOfKind(grid, kestrix::table::kRowData);
        grid.SetText(1, row, locale.toString(start.addSecs(record * 60), format).toStdString());
        grid.SetNumber(2, row, record % 50, 0);
        const bool troubled = record % 97 == 0;
        for (int column = kFirstNumberColumn; column <= kColumns; ++column) {
            grid.SetNumber(column, row, (record % 1000) * 1.37 + column, column % 3);
            if (troubled) {
                grid.SetTextColor(column, row, kMagenta);
                grid.SetNote(column, row, "- Bad laser voltage.");
                grid.SetFlagged(column, row, true);
            }
        }
    }
}

void AddStatistics(GridModel& grid, int first, int last) {
    const std::string range = "#" + std::to_string(first) + ":#" + std::to_string(last);
    const char* functions[] = {"AVERAGE(", "MAX(", "MIN(", "STDEV("};
    const std::int32_t kinds[] = {kestrix::table::kRowAverage, kestrix::table::kRowMaximum,
                                  kestrix::table::kRowMinimum,
                                  kestrix::table::kRowStandardDeviation};
    for (int i = 0; i < 4; ++i) {
        const int row = AddRowOfKind(grid, kinds[i]);
        grid.SetText(1, row, functions[i]);
        grid.SetSpan(1, row, kFirstNumberColumn - 1);
        for (int column = kFirstNumberColumn; column <= kColumns; ++column) {
            grid.SetFormula(column, row, functions[i] + range + ")", 1);
        }
    }
}

GridModel BuildTable(const QLocale& locale) {
    GridModel grid;
    grid.SetColumnCount(kColumns);
    for (int line = 0; line < 2; ++line) {
        const int row = AddRowOfKind(grid, kestrix::table::kRowColumnTitle);
        for (int column = 1; column <= kColumns; ++column) {
            grid.SetText(column, row, "Title " + std::to_string(column));
            grid.SetBackColor(column, row, grid.HeaderColor());
        }
    }
    FillRecords(grid, locale);
    AddStatistics(grid, 3, kRecords + 2);
    for (int line = 1; line <= 5; ++line) {
        grid.InsertRowAbove(line);
        grid.SetRowUserValue(line, kestrix::table::kRowHeaderLine);
        grid.SetText(1, line, "Header line " + std::to_string(line));
        grid.SetSpan(1, line, kColumns);
    }
    grid.SetFrozenRows(7);
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

void WriteXlsxOrReport(const GridModel& grid, const std::string& path, bool constantMemory) {
    std::string error;
    if (!kestrix::table::WriteXlsx(grid, path, {kestrix::UserLocale(), constantMemory}, error)) {
        std::printf("%s\n", error.c_str());
    }
}

} // namespace

int main() {
    const QLocale locale = kestrix::UserLocale();
    const GridModel grid = BuildTable(locale);
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
    Measure("XLSX constant memory", xlsx, [&] { WriteXlsxOrReport(grid, xlsx, true); });
    Measure("XLSX", xlsx, [&] { WriteXlsxOrReport(grid, xlsx, false); });
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory   %7.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024);
    for (const std::string& path : {csv, html, xlsx}) {
        std::filesystem::remove(path);
    }
}
