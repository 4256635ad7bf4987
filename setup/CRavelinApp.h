#pragma once

#include <QApplication>

namespace setup {

// The disc menu program: one dialog, then the end.
class CRavelinApp : public QApplication {
public:
    CRavelinApp(int& argc, char** argv);

    // Shows the menu of the Setup.ini found from the current folder or the program's own
    // folder, and returns when it closes.
    int Run();
};

} // namespace setup
