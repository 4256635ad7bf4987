#pragma once

// frmDlgAbout: the program's version, short or detailed at a click, and its licence.

#include "kestrix/window/aboutInfo.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace kestrix::gui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const window::ProgramVersion& version, const QString& programFolder,
                QWidget* parent = nullptr);

    QString VersionText() const;
    QString LicenseText() const;
    void ToggleDetailedVersion();
    // Where downloads are archived: a file, a server, or "switched off".
    void SetArchivePlace(const QString& place);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    window::ProgramVersion version_;
    bool detailed_ = false;
    QLabel* lblVersion_;
    QLabel* lblArchive_;
    QPlainTextEdit* txtLicense_;
};

} // namespace kestrix::gui
