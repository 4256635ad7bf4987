#pragma once

// A PDF file painted by the caller, written under a temporary name and renamed into place when
// complete, so a failure never leaves half a file. Needs a QGuiApplication.

#include <QPageLayout>
#include <QPdfWriter>
#include <functional>
#include <string>

namespace kestrix::table {

// False with `error` telling why when the file could not be written or `paint` failed.
bool WritePdfFile(const std::string& fileName, const QPageLayout& layout, int dotsPerInch,
                  const std::function<bool(QPdfWriter&)>& paint, std::string& error);

} // namespace kestrix::table
