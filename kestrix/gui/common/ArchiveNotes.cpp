#include "kestrix/gui/common/ArchiveNotes.h"

#include "kestrix/archive/archiveSettings.h"
#include "kestrix/gui/common/UserDialogs.h"

#include <QTimer>

namespace kestrix::gui {

void NoteInArchive(QWidget& parent, UserDialogs& dialogs, const std::string& configPath,
                   const archive::ActivityNote& note) {
    const std::string problem =
        archive::NoteActivity(archive::ReadArchiveSettings(configPath), note);
    if (problem.empty()) {
        return;
    }
    QTimer::singleShot(0, &parent, [&parent, &dialogs, problem] {
        dialogs.Message(&parent, {QObject::tr("The archive could not note this in its audit trail; "
                                              "what was done stands."),
                                  QObject::tr("Warning"), QMessageBox::Warning, QMessageBox::Ok,
                                  QString::fromStdString(problem)});
    });
}

} // namespace kestrix::gui
