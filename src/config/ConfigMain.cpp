// quorvane-config: the settings of the Quorvane screensaver in one property
// sheet. It edits the settings record of the application object, as the
// saver's own configuration mode would, and writes it back on OK.

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>

#include "app/SaverApp.h"
#include "config/ConfigProp.h"
#include "platform/Environment.h"
#include "platform/Signals.h"

namespace {

// What Qt said while it looked for a display, kept until it is known whether
// the program can start.
QStringList& startMessages() {
    static QStringList messages;
    return messages;
}

// Qt ends the program (abort, exit 134) when no platform plugin can show
// windows: no X server at DISPLAY, a Wayland socket that is not there, a
// plugin that cannot load. Its words are kept, and its fatal message becomes
// one line naming the problem and exit status 1.
void startHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        startMessages() << message;
        return;
    }
    // In people's words: which display could not be reached, which plugin
    // is missing.
    QStringList why;
    const QRegularExpression missing("Could not find the Qt platform plugin \"([^\"]*)\"");
    bool connecting = false;
    for (const QString& said : startMessages()) {
        if (const auto m = missing.match(said); m.hasMatch()) {
            why << "the Qt platform plugin \"" + m.captured(1) + "\" is not installed";
        } else if (said.startsWith("could not connect to display", Qt::CaseInsensitive)) {
            const QString name = said.mid(28).trimmed();
            why << (name.isEmpty() ? QString("no X display (DISPLAY is not set)")
                                   : "no X server answers at DISPLAY=" + name);
            connecting = true;
        }
    }
    if (why.isEmpty() || !connecting)
        for (const QString& said : startMessages())
            if (said.startsWith("Could not load")) why << said.trimmed();
    if (why.isEmpty()) why << "no usable Qt platform plugin";
    std::fprintf(stderr, "quorvane-config: cannot show the settings: %s; set DISPLAY to a running X server\n",
                 why.join("; ").toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    // Qt would abort without a display; a platform chosen by name (the
    // offscreen one, for example) needs none.
    if (!platform::displayNamed() && platform::getEnv("QT_QPA_PLATFORM").value_or("").empty()) {
        std::fprintf(stderr, "quorvane-config: no display to show the settings on (DISPLAY and "
                             "WAYLAND_DISPLAY are not set)\n");
        return 1;
    }
    const QtMessageHandler previous = qInstallMessageHandler(startHandler);
    QApplication app(argc, argv);
    // Started: what Qt said on the way goes where it would have gone.
    qInstallMessageHandler(previous);
    for (const QString& said : startMessages()) qWarning("%s", qPrintable(said));
    startMessages().clear();
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
