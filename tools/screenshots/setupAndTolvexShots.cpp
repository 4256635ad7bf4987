// Renders the disc menu and the Modbus control's dialogs without a display into PNG files, as
// main.cpp does for the program:
//   setup-tolvex-screenshots OUTPUT_FOLDER [SCALE_SUFFIX]
// The menu shows the example Setup.ini with link 2 visited and the pointer over link 4.

#include "AboutBox.h"
#include "CTolvexCtrl.h"
#include "PropertySheet.h"
#include "setup/CRavelinDlg.h"
#include "setup/CXHyperLink.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <cstdio>

namespace {

// Clicks land here instead of starting the example's files.
class NoStarter : public setup::LinkStarter {
public:
    setup::LinkStart Start(const setup::SetupLink&) override { return setup::LinkStart::Started; }
};

void PointAt(QWidget& widget) {
    const QPointF centre = QRectF(widget.rect()).center();
    QMouseEvent move(QEvent::MouseMove, centre, widget.mapToGlobal(centre), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

// Writes each window it is given as FOLDER/NAME SUFFIX.png and remembers any failure.
class ShotFolder {
public:
    ShotFolder(QString folder, QString suffix)
        : folder_(std::move(folder)), suffix_(std::move(suffix)) {}

    void Grab(QWidget& window, const QString& name) {
        window.show();
        QApplication::processEvents();
        const QString path = QStringLiteral("%1/%2%3.png").arg(folder_, name, suffix_);
        const bool saved = window.grab().save(path);
        std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
        allSaved_ = allSaved_ && saved;
    }
    bool AllSaved() const { return allSaved_; }

private:
    QString folder_;
    QString suffix_;
    bool allSaved_ = true;
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: setup-tolvex-screenshots OUTPUT_FOLDER [SUFFIX]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    ShotFolder shots(folder, argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());

    NoStarter starter;
    setup::CRavelinDlg menu(
        setup::ReadSetupContent(QStringLiteral(SETUP_EXAMPLE_FOLDER "/Setup.ini")), starter);
    menu.show();
    menu.Link(2)->click();
    PointAt(*menu.Link(4));
    shots.Grab(menu, QStringLiteral("setup-menu"));

    tolvex::CTolvexCtrl control;
    tolvex::PropertySheet sheet(control);
    shots.Grab(sheet, QStringLiteral("tolvex-property-page"));
    tolvex::AboutBox about;
    shots.Grab(about, QStringLiteral("tolvex-about-box"));
    return shots.AllSaved() ? 0 : 1;
}
