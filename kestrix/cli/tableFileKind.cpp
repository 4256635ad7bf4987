#include "kestrix/cli/tableFileKind.h"

#include <QFileInfo>
#include <QString>
#include <array>
#include <utility>

namespace kestrix::cli {

std::optional<TableFileKind> TableFileKindOf(const std::string& fileName) {
    static const std::array<std::pair<QString, TableFileKind>, 5> kEndings = {{
        {"xlsx", TableFileKind::kExcel},
        {"csv", TableFileKind::kCsv},
        {"html", TableFileKind::kHtml},
        {"htm", TableFileKind::kHtml},
        {"pdf", TableFileKind::kPdf},
    }};
    const QString suffix = QFileInfo(QString::fromStdString(fileName)).suffix().toLower();
    for (const auto& [ending, kind] : kEndings) {
        if (suffix == ending) {
            return kind;
        }
    }
    return std::nullopt;
}

} // namespace kestrix::cli
