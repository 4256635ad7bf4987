// tolvex-monitor: polls one range of a Modbus device and shows its values.

#include "MonitorWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tolvex_monitor::MonitorWindow window;
    window.resize(560, 640);
    window.show();
    return app.exec();
}
