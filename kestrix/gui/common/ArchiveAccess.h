#pragma once

// The windows' way into the archive of the configuration: a setting that cannot be read, or an
// archive switched off, is told in a message box before any dialog opens.

#include "kestrix/archive/archiveSettings.h"

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace kestrix::gui {

class UserDialogs;

// The archive's settings when it can be used; otherwise says why and gives none.
std::optional<archive::ArchiveSettings> UsableArchive(QWidget* parent, UserDialogs& dialogs,
                                                      const std::string& configPath);

// The archive failed at what the text says; the reason is the message's detail.
void TellArchiveProblem(QWidget* parent, UserDialogs& dialogs, const QString& text,
                        const std::string& reason);

// The archive cannot be read, with the reason as the message's detail.
void TellArchiveFailed(QWidget* parent, UserDialogs& dialogs, const std::string& reason);

// A plain note, such as "nothing found".
void TellArchiveNote(QWidget* parent, UserDialogs& dialogs, const QString& text);

} // namespace kestrix::gui
