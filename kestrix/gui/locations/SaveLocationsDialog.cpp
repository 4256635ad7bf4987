#include "kestrix/gui/locations/SaveLocationsDialog.h"

#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/locations/locationFile.h"
#include "kestrix/locations/myLocations.h"
#include "kestrix/shell/folders.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

const QString kInstruction = QStringLiteral(
    "You can save the location names to a file.\n\n"
    "If you have a Orvenda particle counter which supports alphanumeric location names, you can "
    "save the location names from that instrument. This option is only available after you "
    "have downloaded actual data samples from that instrument.\n\n"
    "After pushing the \"Next\" button, you can choose the location and name of the save file.");

} // namespace

SaveLocationsDialog::SaveLocationsDialog(modConfig::ConfigStore& store, UserDialogs& dialogs,
                                         QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs),
      optInstrumentNames_(new QRadioButton(QStringLiteral("&Instrument (downloaded) Names"), this)),
      optMyNames_(new QRadioButton(QStringLiteral("&My Locations"), this)),
      next_(new QPushButton(QStringLiteral("&Next>>"), this)),
      cancel_(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setObjectName(QStringLiteral("frmDlgSaveLocations"));
    setWindowTitle(QStringLiteral("Save Location Names As"));
    optInstrumentNames_->setObjectName(QStringLiteral("optInstrumentNames"));
    optMyNames_->setObjectName(QStringLiteral("optMyNames"));
    next_->setObjectName(QStringLiteral("cmdOkButton"));
    cancel_->setObjectName(QStringLiteral("cmdCancelButton"));
    next_->setDefault(true);
    optMyNames_->setChecked(true);
    optInstrumentNames_->setEnabled(false);
    connect(next_, &QPushButton::clicked, this, &SaveLocationsDialog::SaveToFile);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* instruction = new QLabel(kInstruction, this);
    instruction->setObjectName(QStringLiteral("lblInstruction"));
    instruction->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(next_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addWidget(new QLabel(QStringLiteral("Save Names From:"), this));
    layout->addWidget(optInstrumentNames_);
    layout->addWidget(optMyNames_);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);
}

void SaveLocationsDialog::SetDataRecordSet(std::shared_ptr<data::clsDataRecordSet> recordSet) {
    recordSet_ = std::move(recordSet);
    optInstrumentNames_->setEnabled(recordSet_ && recordSet_->HasLocationNames());
    optMyNames_->setChecked(true);
}

void SaveLocationsDialog::SaveToFile() {
    next_->setEnabled(false);
    cancel_->setEnabled(false);
    const QString folder = QString::fromStdString(shell::GetLocationsFolder());
    const FileChoice choice =
        dialogs_.ChooseFile(this, {FileRequest::Mode::Save,
                                   QStringLiteral("Save Location Names"),
                                   QFileInfo(folder).isDir() ? folder : QString(),
                                   {QStringLiteral("Location File (*.loc)")},
                                   {QStringLiteral("loc")}});
    if (!choice.Cancelled()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const locations::LocationNames names = optInstrumentNames_->isChecked() && recordSet_
                                                   ? locations::InstrumentLocationNames(*recordSet_)
                                                   : locations::MyLocationNames(store_);
        std::string error;
        const bool saved = locations::SaveLocationFile(names, choice.path.toStdString(), error);
        QApplication::restoreOverrideCursor();
        if (!saved) {
            dialogs_.Message(this,
                             {QStringLiteral("An error was reported while saving the file."),
                              QStringLiteral("Error While Saving File."), QMessageBox::Critical,
                              QMessageBox::Ok, QString::fromStdString(error)});
        }
    }
    hide();
}

} // namespace kestrix::gui
