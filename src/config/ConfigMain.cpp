// quorvane-config: the settings of the Quorvane screensaver in one property
// sheet. It edits the settings record of the application object, as the
// saver's own configuration mode would, and writes it back on OK.

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QScreen>
#include <QSocketNotifier>
#include <cstdio>

#include "app/SaverApp.h"
#include "config/ConfigProp.h"
#include "platform/Environment.h"
#include "platform/Signals.h"

int main(int argc, char** argv) {
    // Qt would abort without a display; a platform chosen by name (the
    // offscreen one, for example) needs none.
    if (!platform::displayNamed() && platform::getEnv("QT_QPA_PLATFORM").value_or("").empty()) {
        std::fprintf(stderr, "quorvane-config: no display to show the settings on (DISPLAY and "
                             "WAYLAND_DISPLAY are not set)\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("quorvane-config");
    QApplication::setApplicationVersion(QV_VERSION);
    QApplication::setWindowIcon(QIcon::fromTheme("quorvane"));

    QCommandLineParser parser;
    parser.setApplicationDescription("Settings of the Quorvane screensaver.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption depth("depth", "Show the sheet as for a display of N bits per pixel.", "N");
    const QCommandLineOption noPreview("no-preview", "Do not run the saver in the preview pane.");
    parser.addOption(depth);
    parser.addOption(noPreview);
    parser.process(app);

    int bits = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->depth() : 32;
    if (parser.isSet(depth)) {
        bool ok = false;
        bits = parser.value(depth).toInt(&ok);
        if (!ok || bits < 1 || bits > 32) {
            std::fprintf(stderr, "quorvane-config: --depth takes 1 to 32 bits per pixel\n");
            return 2;
        }
    }

    platform::setErrorBoxHandler([](const std::string& title, const std::string& text) {
        QMessageBox::critical(QApplication::activeWindow(), QString::fromStdString(title),
                              QString::fromStdString(text));
    });
    gApp.construct({});
    gApp.setMode(CSaverApp::kModeConfigure);
    gApp.setSettings(std::make_unique<Settings>(
        platform::ProfileStore(platform::ProfileStore::defaultFolder()), platform::registeredOwner()));

    ConfigServices services = ConfigServices::desktop(bits);
    services.preview = !parser.isSet(noPreview);
    {
        CConfigProp sheet(*gApp.settings(), services);
        // Ended by the session (SIGTERM, SIGHUP) or ^C: as Cancel, so that the
        // preview's saver and its folder go with the sheet.
        platform::installTerminationHandlers();
        std::unique_ptr<QSocketNotifier> ending;
        if (platform::terminationFd() >= 0) {
            ending = std::make_unique<QSocketNotifier>(platform::terminationFd(), QSocketNotifier::Read);
            QObject::connect(ending.get(), &QSocketNotifier::activated, &sheet, [&sheet] {
                platform::drainTerminationFd();
                sheet.reject();
            });
        }
        sheet.exec();
    }
    platform::setErrorBoxHandler(nullptr);
    gApp.shutdown();
    return 0;
}
