#include "ArchiveCliFixture.h"

#include "kestrix/data/recordSetFile.h"

#include <QSqlQuery>
#include <QUrl>
#include <fstream>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrix::archive {

void ArchiveCliFixture::SetUp() {
    ArchiveFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    settings_.sqlitePath = folder_.filePath("archive.sqlite").toStdString();
    WriteConfig("[archive]\nurl=" + settings_.url + "\n");
}

std::string ArchiveCliFixture::Path(const std::string& name) const {
    return folder_.filePath(QString::fromStdString(name)).toStdString();
}

void ArchiveCliFixture::WriteConfig(const std::string& text) const {
    std::ofstream(Path("config.ini"), std::ios::binary) << text;
}

void ArchiveCliFixture::WriteDownload(const std::string& name, std::int32_t count,
                                      std::int32_t firstMinute) {
    std::string error;
    ASSERT_TRUE(data::WriteRecordSetJson(*MakeDownload("Model 9", 7, count, firstMinute),
                                         Path(name), error))
        << error;
}

void ArchiveCliFixture::Start(QProcess& process, const QStringList& arguments) const {
    StartCommand(process, QStringList{"archive"} + arguments);
}

void ArchiveCliFixture::StartCommand(QProcess& process, const QStringList& arguments) const {
    const QStringList command =
        QStringList{KESTRIX_CLI_PATH, "--config", QString::fromStdString(Path("config.ini"))} +
        arguments;
    const QStringList whole = wrapper_ + command;
    process.setProcessEnvironment(environment_);
    process.start(whole.front(), whole.mid(1));
    ASSERT_TRUE(process.waitForStarted());
}

ArchiveCliFixture::Outcome ArchiveCliFixture::Run(const QStringList& arguments,
                                                  const QByteArray& input) const {
    return RunCommand(QStringList{"archive"} + arguments, input);
}

ArchiveCliFixture::Outcome ArchiveCliFixture::RunCommand(const QStringList& arguments,
                                                         const QByteArray& input) const {
    QProcess process;
    StartCommand(process, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

namespace {

// Everything the program writes to the terminal until it ends, answering its prompts.
std::string AnswerUntilClosed(int terminal, const std::vector<TerminalAnswer>& answers) {
    std::string seen;
    std::size_t next = 0;
    std::size_t shownBefore = 0; // where the next prompt is looked for
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(terminal, buffer, sizeof buffer)) > 0) {
        seen.append(buffer, static_cast<std::size_t>(got));
        const std::size_t prompt = next < answers.size()
                                       ? seen.find(answers[next].prompt, shownBefore)
                                       : std::string::npos;
        if (prompt != std::string::npos) {
            const std::string typed = answers[next].typed + "\n";
            static_cast<void>(::write(terminal, typed.data(), typed.size()));
            shownBefore = prompt + answers[next].prompt.size();
            ++next;
        }
    }
    return seen;
}

// The texts as exec takes them, kept alive in `bytes`.
std::vector<char*> NullTerminated(const QStringList& texts, std::vector<QByteArray>& bytes) {
    std::vector<char*> pointers;
    for (const QString& text : texts) {
        pointers.push_back(bytes.emplace_back(text.toLocal8Bit()).data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ArchiveCliFixture::Outcome
ArchiveCliFixture::RunOnTerminal(const QStringList& arguments,
                                 const std::vector<TerminalAnswer>& answers) const {
    QStringList words = QStringList{KESTRIX_CLI_PATH, "--config",
                                    QString::fromStdString(Path("config.ini")), "archive"} +
                        arguments;
    // Made before the fork: the child only calls exec.
    std::vector<QByteArray> argvBytes;
    std::vector<QByteArray> envpBytes;
    std::vector<char*> argv = NullTerminated(words, argvBytes);
    std::vector<char*> envp = NullTerminated(environment_.toStringList(), envpBytes);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) {
        ADD_FAILURE() << "no terminal for kestrix-cli";
        return {};
    }
    if (child == 0) {
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    Outcome outcome;
    outcome.out = AnswerUntilClosed(terminal, answers);
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

QSqlDatabase ArchiveCliFixture::OpenProbe(const QString& name) const {
    QSqlDatabase probe;
    if (settings_.url.empty()) {
        probe = QSqlDatabase::addDatabase("QSQLITE", name);
        probe.setDatabaseName(QString::fromStdString(settings_.sqlitePath));
        probe.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
    } else {
        const QUrl url(QString::fromStdString(settings_.url));
        probe = QSqlDatabase::addDatabase("QPSQL", name);
        probe.setHostName(url.host());
        probe.setPort(url.port());
        probe.setUserName(url.userName());
        probe.setDatabaseName(url.path().mid(1));
    }
    probe.open();
    return probe;
}

void ArchiveCliFixture::CloseProbe(QSqlDatabase& probe) {
    const QString name = probe.connectionName();
    probe.close();
    probe = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

bool ArchiveCliFixture::WriterHoldsLock() const {
    QSqlDatabase probe = OpenProbe("probe");
    bool held = false;
    {
        QSqlQuery query(probe);
        if (settings_.url.empty()) {
            held = !query.exec("BEGIN IMMEDIATE");
            query.exec("ROLLBACK");
        } else {
            query.exec("SELECT COUNT(*) FROM pg_locks WHERE locktype = 'advisory' AND granted");
            held = query.next() && query.value(0).toInt() > 0;
        }
    }
    CloseProbe(probe);
    return held;
}

HeldWriteLock::HeldWriteLock(QSqlDatabase probe) : probe_(std::move(probe)) {
    QSqlQuery query(probe_);
    if (probe_.driverName() == "QSQLITE") {
        EXPECT_TRUE(query.exec("BEGIN IMMEDIATE"));
    } else {
        EXPECT_TRUE(query.exec("BEGIN"));
        EXPECT_TRUE(query.exec("SELECT pg_advisory_xact_lock(7340019)"));
    }
}

HeldWriteLock::~HeldWriteLock() {
    {
        QSqlQuery query(probe_);
        query.exec("ROLLBACK");
    }
    ArchiveCliFixture::CloseProbe(probe_);
}

} // namespace kestrix::archive
