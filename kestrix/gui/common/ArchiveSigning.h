#pragma once

// Signing from the windows in the archive of the configuration: what is signed read from the
// archive, the sign dialog, and the signature made when the user signs. Problems before the
// dialog opens are told in message boxes; the dialog tells the outcome itself.

#include <QString>
#include <cstdint>
#include <string>

class QWidget;

namespace kestrix::cleanroom {
struct ClassificationReport;
}

namespace kestrix::gui {

class UserDialogs;

// The download whose download or import event is downloadEvent.
void SignDownload(QWidget* parent, UserDialogs& dialogs, const std::string& configPath,
                  std::int64_t downloadEvent);

// The bytes of a saved file, such as a report.
void SignFile(QWidget* parent, UserDialogs& dialogs, const std::string& configPath,
              const QString& path);

// A classification report saved at path: signed, then written again there with its
// signatures printed.
void SignReport(QWidget* parent, UserDialogs& dialogs, const std::string& configPath,
                const cleanroom::ClassificationReport& report, const QString& path);

} // namespace kestrix::gui
