#pragma once

#include "setup/LinkStarter.h"
#include "setup/SetupContent.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace setup {

class CXHyperLink;
class DialogUnits;

// The disc menu: a banner, six fixed link places in two columns of three with an icon beside
// each, and Close. Places are in dialog units of the dialog's font. A click starts the link's
// file through the starter and leaves the menu open.
class CRavelinDlg : public QDialog {
    Q_OBJECT

public:
    CRavelinDlg(const SetupLinks& links, LinkStarter& starter, QWidget* parent = nullptr);

    // Link and icon n, 1..6.
    CXHyperLink* Link(int n) const;
    QLabel* Icon(int n) const;
    QLabel* Banner() const { return banner_; }
    QFrame* Separator() const { return separator_; }
    QPushButton* CloseButton() const { return close_; }

private:
    struct LinkEntry {
        CXHyperLink* link = nullptr;
        QLabel* icon = nullptr;
        SetupLink content;
    };

    void CreateBanner(const DialogUnits& units);
    void CreateLink(int n, const SetupLink& content, const DialogUnits& units);
    void CreateSeparatorAndClose(const DialogUnits& units);
    void OnLinkClicked(const LinkEntry& entry);

    LinkStarter& starter_;
    std::array<LinkEntry, kLinkCount> entries_;
    QLabel* banner_ = nullptr;
    QFrame* separator_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace setup
