#pragma once
// The preview: the saver itself, run with the values on the sheet as they
// stand (written to a settings folder of its own), restarted a moment after
// a control changes. On X11 it draws inside the pane ("quorvane /p <id>");
// where no window of ours can host another program's drawing, the pane
// shows a still rendered headless.

#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "engine/Settings.h"

class QLabel;
class QStackedLayout;

class CPreviewPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 200;
    // How long after the last change the saver restarts.
    static constexpr int kDelayMs = 600;
    // Simulated seconds drawn for a still.
    static constexpr int kStillSeconds = 20;

    // `program` is the saver (empty: the one beside this program).
    // `userFolder` holds the user's settings files, copied first so that the
    // keys no page edits are the user's own; `fill` copies the sheet's values
    // into a record and writes them.
    CPreviewPane(const QString& program, std::filesystem::path userFolder,
                 std::function<bool(Settings&)> fill, QWidget* parent = nullptr,
                 QSize size = QSize(kWidth, kHeight));
    ~CPreviewPane() override;

    void scheduleRestart();
    // Writes the values and starts the saver again now.
    void restart();

    bool embedded() const { return m_embedded; }
    QString settingsFolder() const { return m_folder.path(); }
    const QProcess& process() const { return m_process; }
    QString stillPath() const;

signals:
    // A still has been rendered and shown.
    void stillShown();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool writeSettings();
    void renderFinished(int exitCode, QProcess::ExitStatus status);
    void say(const QString& text);

    std::filesystem::path m_userFolder;
    std::function<bool(Settings&)> m_fill;
    QTemporaryDir m_folder;
    QProcess m_process;
    QTimer m_timer;
    QString m_program;
    bool m_embedded;
    bool m_started = false;
    int m_seed;
    QWidget* m_host = nullptr;
    QLabel* m_still = nullptr;
    QStackedLayout* m_stack = nullptr;
};
