#pragma once

// A second start of the program brings the running window forward: the running instance listens
// on a local socket beside its instance lock, and the second one asks it there before it ends.

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace kestrix::gui {

class RunningWindowLink : public QObject {
public:
    // Listens at `socketPath` (nothing when it is empty) and raises `window` at each request.
    RunningWindowLink(QWidget& window, const QString& socketPath);

    // Asks the instance listening at `socketPath` to raise its window; true once it said it did.
    static bool AskToRaise(const QString& socketPath);

private:
    void Answer();

    QWidget& window_;
    QLocalServer* server_;
};

} // namespace kestrix::gui
