#include "config/PreviewPane.h"

#include <QLabel>
#include <QPixmap>
#include <QRandomGenerator>
#include <QStackedLayout>

#include "config/Desktop.h"
#include "platform/Environment.h"

CPreviewPane::CPreviewPane(const QString& program, std::filesystem::path userFolder,
                           std::function<bool(Settings&)> fill, QWidget* parent, QSize size)
    : QWidget(parent),
      m_userFolder(std::move(userFolder)),
      m_fill(std::move(fill)),
      m_program(program.isEmpty() ? desktop::siblingProgram("quorvane") : program),
      m_embedded(desktop::embedsForeignWindows()),
      // One seed for the whole session, so that a still changes only with
      // the settings.
      m_seed(static_cast<int>(QRandomGenerator::global()->bounded(1, 1000000))) {
    setFixedSize(size);
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_still = new QLabel(this);
    m_still->setObjectName("previewStill");
    m_still->setAlignment(Qt::AlignCenter);
    m_still->setWordWrap(true);
    m_stack->addWidget(m_still);
    if (m_embedded) {
        // A window of its own, for the saver to make its child in.
        m_host = new QWidget(this);
        m_host->setObjectName("previewHost");
        m_host->setAttribute(Qt::WA_NativeWindow);
        m_host->setAttribute(Qt::WA_DontCreateNativeAncestors);
        m_host->setAutoFillBackground(true);
        QPalette black = m_host->palette();
        black.setColor(QPalette::Window, Qt::black);
        m_host->setPalette(black);
        m_stack->addWidget(m_host);
        m_stack->setCurrentWidget(m_host);
    }
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &CPreviewPane::restart);
    connect(&m_process, &QProcess::finished, this, &CPreviewPane::renderFinished);
    if (m_program.isEmpty())
        say("The saver (quorvane) was not found, so there is no preview.");
    else if (!m_folder.isValid())
        say("There is no preview: no temporary folder could be made.");
}

CPreviewPane::~CPreviewPane() {
    m_process.disconnect(this);
    desktop::stopProcess(m_process);
}

QString CPreviewPane::stillPath() const { return m_folder.filePath("preview.png"); }

void CPreviewPane::say(const QString& text) {
    m_still->setText(text);
    m_stack->setCurrentWidget(m_still);
}

void CPreviewPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_started) {
        m_started = true;
        scheduleRestart();
    }
}

void CPreviewPane::scheduleRestart() { m_timer.start(); }

bool CPreviewPane::writeSettings() {
    // The user's files first: they hold the keys the pages leave alone.
    const std::filesystem::path folder = m_folder.path().toStdString();
    desktop::copyFiles(m_userFolder, folder, {platform::ProfileStore::kRegistryFile, Settings::kIniFile});
    Settings settings{platform::ProfileStore(folder), platform::registeredOwner()};
    return m_fill(settings);
}

void CPreviewPane::restart() {
    m_timer.stop();
    if (m_program.isEmpty() || !m_folder.isValid()) return;
    m_process.disconnect(this);
    desktop::stopProcess(m_process);
    connect(&m_process, &QProcess::finished, this, &CPreviewPane::renderFinished);
    if (!writeSettings()) {
        say("There is no preview: the settings could not be written for it.");
        return;
    }
    if (m_embedded) {
        m_stack->setCurrentWidget(m_host);
        desktop::startSaver(m_process, m_program, {"/p", QString::number(m_host->winId())}, m_folder.path());
    } else {
        desktop::startSaver(m_process, m_program,
                            {"--render", stillPath(), "--size", QString("%1x%2").arg(width()).arg(height()),
                             "--seconds", QString::number(kStillSeconds), "--seed", QString::number(m_seed)},
                            m_folder.path());
    }
}

void CPreviewPane::renderFinished(int exitCode, QProcess::ExitStatus status) {
    if (m_embedded) return;  // the saver in the pane ended (the sheet closes)
    QPixmap still;
    if (status != QProcess::NormalExit || exitCode != 0 || !still.load(stillPath())) {
        say("The preview could not be drawn.");
        return;
    }
    m_still->setPixmap(still);
    m_stack->setCurrentWidget(m_still);
    emit stillShown();
}
