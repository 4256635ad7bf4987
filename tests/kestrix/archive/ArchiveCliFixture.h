#pragma once

// kestrix-cli's archive commands run as processes of their own against the fixture's archive,
// named by a configuration file in the fixture's folder.

#include "ArchiveFixture.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QStringList>
#include <string>
#include <vector>

namespace kestrix::archive {

// What is typed on kestrix-cli's terminal once the prompt has shown.
struct TerminalAnswer {
    std::string prompt;
    std::string typed;
};

class ArchiveCliFixture : public ArchiveFixture {
protected:
    void SetUp() override;

    std::string Path(const std::string& name) const;
    void WriteConfig(const std::string& text) const;
    void WriteDownload(const std::string& name, std::int32_t count, std::int32_t firstMinute);

    // kestrix-cli archive ARGUMENTS.
    void Start(QProcess& process, const QStringList& arguments) const;
    // kestrix-cli ARGUMENTS, with the test's configuration.
    void StartCommand(QProcess& process, const QStringList& arguments) const;
    // A program and its arguments that kestrix-cli runs under (setpriv, to drop root); none by
    // default.
    QStringList wrapper_;
    // The environment kestrix-cli runs in; this process's by default.
    QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();

    struct Outcome {
        int exitCode = -1;
        std::string out;
        std::string err;
    };
    // input goes to kestrix-cli's standard input, which is then closed.
    Outcome Run(const QStringList& arguments, const QByteArray& input = {}) const;
    Outcome RunCommand(const QStringList& arguments, const QByteArray& input = {}) const;
    // kestrix-cli archive ARGUMENTS on a terminal of its own, typing each answer once its
    // prompt has shown, in order; `out` is all the terminal showed.
    Outcome RunOnTerminal(const QStringList& arguments,
                          const std::vector<TerminalAnswer>& answers) const;

    // True while another connection holds the archive's write lock.
    bool WriterHoldsLock() const;

public:
    // A connection of the test's own to the archive, named name; removed by CloseProbe.
    QSqlDatabase OpenProbe(const QString& name) const;
    static void CloseProbe(QSqlDatabase& probe);
};

// Holds the archive's write lock the way another writer would, until destroyed.
class HeldWriteLock {
public:
    explicit HeldWriteLock(QSqlDatabase probe);
    ~HeldWriteLock();
    HeldWriteLock(const HeldWriteLock&) = delete;
    HeldWriteLock& operator=(const HeldWriteLock&) = delete;

private:
    QSqlDatabase probe_;
};

} // namespace kestrix::archive
