#include "appserver/server/serverlog.h"

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// The local time to the second changes once a second: each thread keeps it formatted and adds the
// milliseconds, instead of formatting a date for every line.
void appendTimeStamp(QByteArray &line) {
    thread_local std::time_t second = -1;
    thread_local char secondText[24] = {};
    const auto now = std::chrono::system_clock::now();
    const std::time_t thisSecond = std::chrono::system_clock::to_time_t(now);
    if (thisSecond != second) {
        std::tm local{};
        localtime_r(&thisSecond, &local);
        std::strftime(secondText, sizeof secondText, "%Y-%m-%dT%H:%M:%S", &local);
        second = thisSecond;
    }
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    char millisText[8];
    std::snprintf(millisText, sizeof millisText, ".%03d ", int(millis));
    line += secondText;
    line += millisText;
}

const char *levelPrefix(QtMsgType type) {
    switch (type) {
    case QtWarningMsg:
        return "warning ";
    case QtCriticalMsg:
    case QtFatalMsg:
        return "error ";
    default:
        return "";
    }
}

// One write per line, so that lines of several threads never mix.
void writeToStderr(const QByteArray &line) {
    const char *data = line.constData();
    qsizetype left = line.size();
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        left -= written;
    }
}

void writeLine(QtMsgType type, const QMessageLogContext &, const QString &message) {
    QByteArray line;
    line.reserve(message.size() + 40);
    appendTimeStamp(line);
    line += levelPrefix(type);
    line += message.toUtf8();
    line += '\n';
    writeToStderr(line);
}

} // namespace

void installServerLog() {
    qInstallMessageHandler(writeLine);
}
