#include "kestrix/gui/locations/LocationFileCommands.h"

#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/gui/locations/SaveLocationsDialog.h"
#include "kestrix/locations/locationFile.h"
#include "kestrix/locations/myLocations.h"
#include "kestrix/shell/folders.h"

#include <QApplication>
#include <QFileInfo>

namespace kestrix::gui {

bool OpenLocationNamesFrom(QWidget* parent, UserDialogs& dialogs, modConfig::ConfigStore& store) {
    const QString folder = QString::fromStdString(shell::GetLocationsFolder());
    const FileChoice choice =
        dialogs.ChooseFile(parent, {FileRequest::Mode::Open,
                                    QStringLiteral("Open Location Names From"),
                                    QFileInfo(folder).isDir() ? folder : QString(),
                                    {QStringLiteral("Location Files (*.loc)")},
                                    {}});
    if (choice.Cancelled()) {
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    locations::LocationNames names;
    std::string error;
    const bool read = locations::LoadLocationFile(names, choice.path.toStdString(), error);
    if (read) {
        locations::ImportLocationNames(names, store);
    }
    QApplication::restoreOverrideCursor();
    if (!read) {
        dialogs.Message(parent,
                        {QStringLiteral("Cannot Read File."), QStringLiteral("Cannot Read File"),
                         QMessageBox::Critical, QMessageBox::Ok, QString::fromStdString(error)});
    }
    return read;
}

void SaveLocationNamesAs(QWidget* parent, UserDialogs& dialogs, modConfig::ConfigStore& store,
                         const std::shared_ptr<data::clsDataRecordSet>& recordSet) {
    SaveLocationsDialog dialog(store, dialogs, parent);
    dialog.SetDataRecordSet(recordSet);
    dialogs.ShowModal(dialog);
}

} // namespace kestrix::gui
