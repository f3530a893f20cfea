#include "config/SaveFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include "platform/ProfileStore.h"

namespace {

QString problemWith(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return {};
    if (info.isSymLink() && !info.exists())
        return path +
               " is a link to something that does not exist.\nRemove the link, or make it point to a file.";
    if (!info.isFile())
        return path + " is not a regular file (it is " + (info.isDir() ? "a folder" : "a special file") +
               "), so the settings cannot be written over it.\nMove it away or rename it, then press OK "
               "again.";
    if (info.size() > static_cast<qint64>(platform::ProfileStore::kMaxFileBytes))
        return path + " is larger than " + QString::number(platform::ProfileStore::kMaxFileBytes >> 10) +
               " kB, more than a settings file can be; it is left alone rather than rewritten.\nMove it away "
               "to start again from the defaults, or make it smaller with a text editor.";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return path + " cannot be read: " + file.errorString() +
               ".\nGive yourself permission to read and write it, then press OK again.";
    const QByteArray bytes = file.readAll();
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        return path + " holds a NUL byte (on line " + QString::number(bytes.left(nul).count('\n') + 1) +
               "). It is not rewritten, because what follows the NUL would be lost.\nRemove the NUL byte "
               "with a text editor (or move the file away to start from the defaults), then press OK again.";
    return {};
}

}  // namespace

QString saveFailureReason(const QString& folder, const QStringList& files) {
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return folder + " is not a folder, so no settings can be saved in it.\nMove it away, or set "
                        "QUORVANE_CONFIG_DIR to another folder.";
    if (!info.exists() && !QDir().mkpath(folder))
        return "The folder " + folder +
               " cannot be made.\nCheck that you may write to the folder above it, "
               "or set QUORVANE_CONFIG_DIR to a folder you can write to.";
    for (const QString& name : files)
        if (const QString problem = problemWith(QDir(folder).filePath(name)); !problem.isEmpty())
            return problem;
    // The files are fine: can anything be written here at all?
    QTemporaryFile probe(QDir(folder).filePath(".quorvane-probe-XXXXXX"));
    if (!probe.open())
        return "Nothing can be written in " + folder + ": " + probe.errorString() +
               ".\nCheck the folder's permissions and the free space on its disk, then press OK again.";
    const QByteArray block(64 * 1024, ' ');
    if (probe.write(block) != block.size() || !probe.flush())
        return "Writing in " + folder + " failed: " + probe.errorString() +
               ".\nMake room on the disk, then press OK again.";
    return "The reason is not known: the folder " + folder +
           " and its files look writable. Another program may hold the settings' lock file "
           "(registry.ini.lock) for a long time.\nWait a moment and press OK again.";
}
