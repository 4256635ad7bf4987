#include "kestrix/table/print/pdfFile.h"

#include "kestrix/base/atomicFile.h"

namespace kestrix::table {

bool WritePdfFile(const std::string& fileName, const QPageLayout& layout, int dotsPerInch,
                  const std::function<bool(QPdfWriter&)>& paint, std::string& error) {
    base::PendingFile file(fileName);
    if (!file.IsOpen()) {
        error = file.Error();
        return false;
    }
    {
        QPdfWriter writer(QString::fromStdString(file.TemporaryPath()));
        writer.setResolution(dotsPerInch);
        writer.setCreator(QStringLiteral("Kestrix"));
        writer.setPageLayout(layout);
        if (!paint(writer)) {
            error = "Cannot write \"" + fileName + "\"";
            return false;
        }
    }
    if (!file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}

} // namespace kestrix::table
