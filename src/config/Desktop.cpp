#include "config/Desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace desktop {

namespace {
constexpr int kQueryMs = 3000;
constexpr int kEndMs = 2000;
}  // namespace

std::string defaultHtmlHandler() {
    QProcess query;
    query.start("xdg-mime", {"query", "default", "text/html"});
    if (!query.waitForStarted(kQueryMs) || !query.waitForFinished(kQueryMs)) {
        query.kill();
        query.waitForFinished(kQueryMs);
        return "";
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return "";
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed().toStdString();
}

QString siblingProgram(const QString& name) {
    const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    if (beside.isFile() && beside.isExecutable()) return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(name);
}

bool embedsForeignWindows() { return QGuiApplication::platformName() == "xcb"; }

void startSaver(QProcess& process, const QString& program, const QStringList& arguments,
                const QString& configDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUORVANE_CONFIG_DIR", configDir);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
}

void copyFiles(const std::filesystem::path& from, const std::filesystem::path& to,
               std::initializer_list<const char*> names) {
    for (const char* name : names) {
        std::error_code ec;
        std::filesystem::remove(to / name, ec);
        if (std::filesystem::is_regular_file(from / name, ec))
            std::filesystem::copy_file(from / name, to / name, ec);
    }
}

void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(kEndMs)) {
        process.kill();
        process.waitForFinished(kEndMs);
    }
}

void openWithoutWaiting(const QString& file, std::function<void()> failed) {
    // The opener may take seconds (or wait for the browser); the sheet goes
    // on meanwhile, and the process object goes when the opener has ended.
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         if (failed) failed();
                         opener->deleteLater();
                     });
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, failed](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && failed) failed();
                         opener->deleteLater();
                     });
    opener->start("xdg-open", {file});
}

}  // namespace desktop
