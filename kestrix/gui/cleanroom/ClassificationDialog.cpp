#include "kestrix/gui/cleanroom/ClassificationDialog.h"

#include "kestrix/archive/calibration.h"
#include "kestrix/cleanroom/listTexts.h"
#include "kestrix/cleanroom/reportFiles.h"
#include "kestrix/cleanroom/reportSections.h"
#include "kestrix/cleanroom/reportTexts.h"
#include "kestrix/cleanroom/roomFile.h"
#include "kestrix/cleanroom/testingParty.h"
#include "kestrix/gui/common/ArchiveNotes.h"
#include "kestrix/gui/common/ArchiveSigning.h"
#include "kestrix/gui/common/UserDialogs.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/locationNames.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrix::gui {

namespace {

using namespace kestrix::cleanroom;

constexpr int kDialogCharacters = 72;
constexpr double kDefaultArea = 10.0;
constexpr double kLargestArea = 1'000'000.0;
constexpr int kDefaultIsoClass = 7;
constexpr GmpGrade kGrades[] = {GmpGrade::A, GmpGrade::B, GmpGrade::C, GmpGrade::D};
constexpr CleanroomState kStates[] = {CleanroomState::AsBuilt, CleanroomState::AtRest,
                                      CleanroomState::InOperation};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Entries carry the ISO class (1-9) or 100 + the grade's position.
constexpr int kGradeBase = 100;

void FillTargets(QComboBox& list) {
    for (int isoClass = kFirstIsoClass; isoClass <= kLastIsoClass; ++isoClass) {
        list.addItem(Text(ClassificationTarget{isoClass, std::nullopt}.Name()), isoClass);
    }
    for (const GmpGrade grade : kGrades) {
        list.addItem(Text(ClassificationTarget{std::nullopt, grade}.Name()),
                     kGradeBase + static_cast<int>(grade));
    }
    list.setCurrentIndex(list.findData(kDefaultIsoClass));
}

QLabel* Buddy(const QString& text, QWidget* field) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    return label;
}

QLineEdit* Field(const char* name) {
    auto* field = new QLineEdit;
    field->setObjectName(QLatin1String(name));
    return field;
}

} // namespace

ClassificationDialog::ClassificationDialog(data::clsDataRecordSet& recordSet,
                                           const modConfig::ConfigStore& store,
                                           UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), recordSet_(recordSet), store_(store), dialogs_(dialogs),
      organisation_(Field("txtOrganisation")), address_(Field("txtAddress")),
      tester_(Field("txtTester")), room_(Field("txtRoom")), building_(Field("txtBuilding")),
      area_(new QDoubleSpinBox), coordinates_(new QLabel(tr("none"))), target_(new QComboBox),
      state_(new QComboBox), sizes_(new QLineEdit), locations_(new QLineEdit), preview_(new QLabel),
      saveButton_(new QPushButton(tr("&Save Report..."))),
      signButton_(new QPushButton(tr("S&ign Report..."))) {
    setObjectName(QStringLiteral("frmDlgClassification"));
    setWindowTitle(tr("Cleanroom Classification Report"));
    const TestingParty party = ReadTestingParty(store.GetConfigPath());
    organisation_->setText(Text(party.organisation));
    address_->setText(Text(party.address));
    tester_->setText(Text(party.tester));
    coordinates_->setObjectName(QStringLiteral("lblCoordinates"));
    area_->setObjectName(QStringLiteral("txtArea"));
    target_->setObjectName(QStringLiteral("cmbTarget"));
    state_->setObjectName(QStringLiteral("cmbState"));
    sizes_->setObjectName(QStringLiteral("txtSizes"));
    locations_->setObjectName(QStringLiteral("txtLocations"));
    area_->setRange(0.1, kLargestArea);
    area_->setDecimals(1);
    area_->setValue(kDefaultArea);
    area_->setSuffix(QStringLiteral(" m²"));
    FillTargets(*target_);
    for (const CleanroomState state : kStates) {
        state_->addItem(Text(StateText(state)), static_cast<int>(state));
    }
    state_->setCurrentIndex(state_->findData(static_cast<int>(CleanroomState::AtRest)));
    sizes_->setPlaceholderText(tr("0.5 and 5.0 where the class or grade has limits"));
    locations_->setPlaceholderText(tr("all, or such as 1, 3, 5-8"));
    preview_->setWordWrap(true);
    preview_->setObjectName(QStringLiteral("lblPreview"));
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(Buddy(tr("Testing or&ganisation:"), organisation_), organisation_);
    form->addRow(Buddy(tr("A&ddress:"), address_), address_);
    form->addRow(Buddy(tr("&Tester:"), tester_), tester_);
    form->addRow(Buddy(tr("&Room:"), room_), room_);
    form->addRow(Buddy(tr("&Building:"), building_), building_);
    form->addRow(Buddy(tr("&Area:"), area_), area_);
    form->addRow(Buddy(tr("Coordinates:"), coordinates_), coordinates_);
    form->addRow(Buddy(tr("&Class or grade:"), target_), target_);
    form->addRow(Buddy(tr("&Occupancy state:"), state_), state_);
    form->addRow(Buddy(tr("Si&zes (µm):"), sizes_), sizes_);
    form->addRow(Buddy(tr("&Locations:"), locations_), locations_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* loadRoom = new QPushButton(tr("&Load Room..."));
    auto* saveRoom = new QPushButton(tr("Sa&ve Room..."));
    buttons->addButton(loadRoom, QDialogButtonBox::ActionRole);
    buttons->addButton(saveRoom, QDialogButtonBox::ActionRole);
    buttons->addButton(saveButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(signButton_, QDialogButtonBox::ActionRole);
    signButton_->setObjectName(QStringLiteral("cmdSignReport"));
    signButton_->setEnabled(false);
    // Wide enough for the preview's sentences to read as lines, not as a column of words.
    setMinimumWidth(fontMetrics().averageCharWidth() * kDialogCharacters);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(preview_, 1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(saveButton_, &QPushButton::clicked, this, &ClassificationDialog::SaveReport);
    connect(signButton_, &QPushButton::clicked, this, [this] {
        SignReport(this, dialogs_, store_.GetConfigPath(), *savedContent_, savedReport_);
    });
    connect(loadRoom, &QPushButton::clicked, this, &ClassificationDialog::ChooseRoomToLoad);
    connect(saveRoom, &QPushButton::clicked, this, &ClassificationDialog::SaveRoom);
    connect(area_, &QDoubleSpinBox::valueChanged, this, &ClassificationDialog::UpdatePreview);
    connect(target_, &QComboBox::currentIndexChanged, this, &ClassificationDialog::UpdatePreview);
    connect(state_, &QComboBox::currentIndexChanged, this, &ClassificationDialog::UpdatePreview);
    for (QLineEdit* field : {room_, sizes_, locations_}) {
        connect(field, &QLineEdit::textChanged, this, &ClassificationDialog::UpdatePreview);
    }
    UpdatePreview();
}

std::optional<ClassificationRequest> ClassificationDialog::Request(QString& problem) const {
    ClassificationRequest request;
    const int target = target_->currentData().toInt();
    if (target >= kGradeBase) {
        request.target.grade = static_cast<GmpGrade>(target - kGradeBase);
    } else {
        request.target.isoClass = target;
    }
    request.target.state = static_cast<CleanroomState>(state_->currentData().toInt());
    request.areaSquareMetres = area_->value();
    request.room = room_->text().toStdString();
    const auto sizes = ParseSizeList(sizes_->text().toStdString());
    const auto locations = ParseLocationList(locations_->text().toStdString());
    if (!sizes) {
        problem = tr("The sizes must be numbers in µm separated by commas, such as 0.5, 5.0.");
        return std::nullopt;
    }
    if (!locations) {
        problem = tr("The locations must be numbers and ranges separated by commas, such as "
                     "1, 3, 5-8.");
        return std::nullopt;
    }
    request.sizes = *sizes;
    request.locations = *locations;
    return request;
}

void ClassificationDialog::UpdatePreview() {
    report_.reset();
    QString problem;
    const std::optional<ClassificationRequest> request = Request(problem);
    if (request) {
        ClassificationOutcome outcome =
            Classify(recordSet_, *request, table::ConfiguredLocationNamer(recordSet_, store_));
        report_ = std::move(outcome.report);
        problem = Text(outcome.refusal);
    }
    saveButton_->setEnabled(report_.has_value());
    if (!report_) {
        preview_->setText(problem);
        return;
    }
    QString text = Text(SummaryText(*report_));
    text[0] = text[0].toUpper();
    for (const std::string& check : report_->checks) {
        text += QStringLiteral("\n- ") + Text(check);
    }
    for (const std::string& line : LeftOutLines(report_->leftOut)) {
        text += QStringLiteral("\n  ") + Text(line);
    }
    preview_->setText(text);
}

void ClassificationDialog::SaveReport() {
    if (!report_) {
        return;
    }
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = tr("Save Classification Report");
    request.filters = {tr("PDF File (*.pdf)"), tr("HTML File (*.html *.htm)"),
                       tr("JSON File (*.json)")};
    request.suffixes = {QStringLiteral("pdf"), QStringLiteral("html"), QStringLiteral("json")};
    const FileChoice choice = dialogs_.ChooseFile(this, request);
    if (choice.Cancelled()) {
        return;
    }
    const std::string path = choice.path.toStdString();
    ClassificationReport report = *report_;
    report.party = {organisation_->text().toStdString(), address_->text().toStdString(),
                    tester_->text().toStdString()};
    report.roomPlan = Room();
    const archive::CalibrationStatement calibration = archive::StateCalibration(
        archive::ReadArchiveSettings(store_.GetConfigPath()), report.instrumentModel,
        report.instrumentSerial, report.lastSample);
    report.calibration = calibration.text;
    report.calibrationWarning = calibration.warning;
    const std::string error = cleanroom::SaveReport(report, path);
    if (!error.empty()) {
        dialogs_.Message(this, {tr("The report cannot be saved."), tr("File Error!"),
                                QMessageBox::Warning, QMessageBox::Ok, Text(error)});
        return;
    }
    KeepTestingParty();
    savedReport_ = choice.path;
    savedContent_ = report;
    signButton_->setEnabled(archive::ReadArchiveSettings(store_.GetConfigPath()).enabled);
    NoteInArchive(*this, dialogs_, store_.GetConfigPath(),
                  archive::ClassificationReportNote(report_->instrumentModel,
                                                    report_->instrumentSerial, report_->targetName,
                                                    VerdictWord(ReportVerdict(*report_)), path));
}

RoomDescription ClassificationDialog::Room() const {
    RoomDescription room = loadedRoom_;
    room.name = room_->text().toStdString();
    room.building = building_->text().toStdString();
    return room;
}

QString ClassificationDialog::LoadRoom(const QString& path) {
    RoomFileRead read = ReadRoomFile(path.toStdString());
    if (!read.room) {
        return Text(read.error);
    }
    loadedRoom_ = std::move(*read.room);
    building_->setText(Text(loadedRoom_.building));
    if (loadedRoom_.Area() > 0) {
        area_->setValue(loadedRoom_.Area());
    }
    coordinates_->setText(tr("%n location(s) from the room file", nullptr,
                             static_cast<int>(loadedRoom_.locations.size())));
    room_->setText(Text(loadedRoom_.name)); // last: its change classifies again
    return {};
}

QString ClassificationDialog::ChooseRoomFile(bool save) {
    const FileRequest request{save ? FileRequest::Mode::Save : FileRequest::Mode::Open,
                              save ? tr("Save Room") : tr("Load Room"),
                              {},
                              {tr("Room File (*.room)")},
                              {QStringLiteral("room")}};
    return dialogs_.ChooseFile(this, request).path;
}

void ClassificationDialog::ShowRoomError(const QString& error) {
    if (!error.isEmpty()) {
        dialogs_.Message(this,
                         {error, tr("File Error!"), QMessageBox::Warning, QMessageBox::Ok, {}});
    }
}

void ClassificationDialog::ChooseRoomToLoad() {
    if (const QString path = ChooseRoomFile(false); !path.isEmpty()) {
        ShowRoomError(LoadRoom(path));
    }
}

void ClassificationDialog::SaveRoom() {
    if (const QString path = ChooseRoomFile(true); !path.isEmpty()) {
        ShowRoomError(Text(WriteRoomFile(path.toStdString(), Room())));
    }
}

// Who tested is kept for the next report.
void ClassificationDialog::KeepTestingParty() {
    if (store_.GetConfigPath().empty()) {
        return;
    }
    const std::string error = SaveTestingParty(
        store_.GetConfigPath(), {organisation_->text().toStdString(),
                                 address_->text().toStdString(), tester_->text().toStdString()});
    if (!error.empty()) {
        dialogs_.Message(this,
                         {tr("The testing organisation, address and tester cannot be kept."),
                          tr("File Error!"), QMessageBox::Warning, QMessageBox::Ok, Text(error)});
    }
}

} // namespace kestrix::gui
