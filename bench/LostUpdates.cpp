// How many lines another program appends to the rules file are lost while the editor saves:
// a second process appends a numbered line every few milliseconds (2 by default) while the
// editor saves 100 times (a value changed in place each time, its version kept for undo),
// then the lines still in the file are counted.
//   tarvok_lost_updates [file bytes] [saves] [milliseconds between appends]
#include "RulesGenerator.h"

#include "document/RulesDocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarvok;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const qsizetype bytes = argc > 1 ? std::atoll(argv[1]) : 200 * 1024;
    const int saves = argc > 2 ? std::atoi(argv[2]) : 100;
    const int pauseUs = argc > 3 ? std::atoi(argv[3]) * 1000 : 2000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("aimd.ini"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bench::generateRules(bytes).content);
    }
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return 1;
    const pid_t appender = fork();
    if (appender == 0) {
        // The other program: one line every few milliseconds, each on its own open of the file,
        // until it is told to stop; then it says how many it wrote.
        close(pipeFds[0]);
        const QByteArray name = QFile::encodeName(path);
        static volatile sig_atomic_t stop = 0;
        std::signal(SIGTERM, [](int) { stop = 1; });
        int n = 0;
        while (!stop) {
            const int fd = ::open(name.constData(), O_WRONLY | O_APPEND);
            if (fd >= 0) {
                const QByteArray line = "; appended " + QByteArray::number(n++) + "\r\n";
                if (::write(fd, line.constData(), line.size()) < 0)
                    --n;
                ::close(fd);
            }
            usleep(static_cast<useconds_t>(pauseUs));
        }
        if (::write(pipeFds[1], &n, sizeof n) < 0)
            _exit(1);
        _exit(0);
    }
    close(pipeFds[1]);
    RulesDocument doc(dir.filePath(QStringLiteral("File.ini")));
    doc.setHistoryFolder(dir.filePath(QStringLiteral("history")));
    doc.open(path);
    int failed = 0;
    for (int i = 0; i < saves; ++i) {
        const QByteArray from = i % 2 ? "Name=B-tag" : "Name=A-tag";
        const QByteArray to = i % 2 ? "Name=A-tag" : "Name=B-tag";
        const filestore::WriteResult r =
            doc.edit([&](const QByteArray& content, const TextCodec&) -> std::optional<QByteArray> {
                QByteArray out = content;
                const qsizetype at = out.indexOf(from);
                if (at < 0)
                    return out.replace("[TeamTypes]", "[TeamTypes]\r\n; " + to);
                return out.replace(at, from.size(), to);
            });
        failed += r.ok() ? 0 : 1;
    }
    kill(appender, SIGTERM);
    int written = 0;
    if (::read(pipeFds[0], &written, sizeof written) != sizeof written)
        return 1;
    waitpid(appender, nullptr, 0);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray content = f.readAll();
    int kept = 0;
    for (int n = 0; n < written; ++n)
        kept += content.contains("; appended " + QByteArray::number(n) + "\r\n") ? 1 : 0;
    std::printf("saves %d refused %d appended %d kept %d lost %d\n", saves, failed, written, kept,
                written - kept);
    return 0;
}
