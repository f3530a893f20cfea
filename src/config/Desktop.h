#pragma once
// What the configuration program asks of the desktop: the default browser,
// the saver program beside it, and whether a window of another program can
// live inside one of ours. Every process and window-system question of the
// program is asked here.

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>

class QProcess;

namespace desktop {

// The desktop entry of the default handler of HTML pages
// (`xdg-mime query default text/html`), empty when there is none or the
// query fails.
std::string defaultHtmlHandler();
// `name` next to this program, else on the PATH; empty when neither exists.
QString siblingProgram(const QString& name);
// Windows of this program are X11 windows another program can draw into.
bool embedsForeignWindows();
// Starts `program` with `arguments` and QUORVANE_CONFIG_DIR set to `configDir`.
void startSaver(QProcess& process, const QString& program, const QStringList& arguments,
                const QString& configDir);
// Makes `to` hold a copy of each of the files `names` of `from`, or not
// hold it when `from` does not.
void copyFiles(const std::filesystem::path& from, const std::filesystem::path& to,
               std::initializer_list<const char*> names);
// Asks a running process to end, and makes sure it has after a short wait.
void stopProcess(QProcess& process);
// Opens `file` with the desktop's viewer (xdg-open) without waiting for it;
// `failed` is called later, from the event loop, when the opener could not
// start or reported a failure.
void openWithoutWaiting(const QString& file, std::function<void()> failed);

}  // namespace desktop
