// Renders the disc menu without a display into PNG files, as main.cpp does for the program:
//   setup-screenshots OUTPUT_FOLDER [SCALE_SUFFIX]
// The menu shows the example Setup.ini with link 2 visited and the pointer over link 4.

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

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: setup-screenshots OUTPUT_FOLDER [SUFFIX]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(folder);

    NoStarter starter;
    setup::CRavelinDlg menu(
        setup::ReadSetupContent(QStringLiteral(SETUP_EXAMPLE_FOLDER "/Setup.ini")), starter);
    menu.show();
    menu.Link(2)->click();
    PointAt(*menu.Link(4));
    QApplication::processEvents();
    const QString path = folder + QStringLiteral("/setup-menu") + suffix + QStringLiteral(".png");
    const bool saved = menu.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved ? 0 : 1;
}
