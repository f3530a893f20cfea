#include "config/ConfigProp.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/SaverApp.h"
#include "config/ConfigPages.h"
#include "config/Desktop.h"
#include "config/PreviewPane.h"
#include "config/SaveFailure.h"
#include "platform/Environment.h"

ConfigServices ConfigServices::desktop(int bitsPerPixel) {
    ConfigServices s;
    s.bitsPerPixel = bitsPerPixel;
    s.chooseFolder = [](QWidget* parent, const QString& title) {
        return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
    };
    s.note = [](QWidget* parent, const QString& caption, const QString& text) {
        QMessageBox::information(parent, caption, text);
    };
    s.defaultBrowser = [] { return desktop::defaultHtmlHandler(); };
    s.help = [] {
        // As the saver's help, but without waiting for the opener.
        const std::filesystem::path file = gApp.helpFile();
        if (!platform::fileExists(file)) {
            platform::showErrorBox("Error", "Sorry, could not find help file " + file.string() +
                                                ". It may be installed in another folder.");
            return;
        }
        desktop::openWithoutWaiting(QString::fromStdString(file.string()), [file] {
            platform::showErrorBox("Error",
                                   "Sorry, could not launch browser to view help file " + file.string());
        });
    };
    return s;
}

CConfigProp::CConfigProp(Settings& settings, ConfigServices services, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_services(std::move(services)) {
    setWindowTitle(kCaption);
    m_tabs = new QTabWidget(this);
    // On a screen too narrow for all nine tabs the tab bar scrolls.
    m_tabs->tabBar()->setUsesScrollButtons(true);
    const QRect screen = availableScreen();
    m_pages = {new CSettingsPage(settings, m_services), new CStylePage(settings, m_services),
               new CImagesPage(settings, m_services),   new CColorsPage(settings, m_services),
               new CTextPage(settings, m_services),     new CMessagesPage(settings, m_services),
               new CLayoutPage(settings, m_services),   new COutlinePage(settings, m_services),
               new CAnimationPage(settings, m_services)};
    for (CConfigPage* page : m_pages) m_tabs->addTab(page, page->caption());

    // The sheet's own buttons; there is no Apply: nothing is stored before OK.
    m_buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CConfigProp::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CConfigProp::reject);
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_services.help) m_services.help();
    });

    auto* body = new QHBoxLayout;
    body->addWidget(m_tabs, 1);
    if (m_services.preview) {
        auto* box = new QGroupBox("Preview", this);
        // A narrower preview where the screen is small (or scaled up).
        const bool small = screen.width() < kRoomyWidth;
        m_preview = new CPreviewPane(
            m_services.saverProgram, settings.store().folder(), [this](Settings& s) { return storeAll(s); },
            box,
            small ? QSize(CPreviewPane::kWidth * 3 / 4, CPreviewPane::kHeight * 3 / 4)
                  : QSize(CPreviewPane::kWidth, CPreviewPane::kHeight));
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->addWidget(m_preview);
        boxLayout->addStretch();
        body->addWidget(box);
        for (CConfigPage* page : m_pages)
            connect(page, &CConfigPage::changed, m_preview, &CPreviewPane::scheduleRestart);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(m_buttons);
    // The size the pages ask for, within the screen (less room for the
    // frame and a panel): the pages scroll in what is left.
    // Wide enough for all nine tabs where the screen allows.
    m_tabs->tabBar()->setUsesScrollButtons(false);
    const QSize wanted = sizeHint();
    m_tabs->tabBar()->setUsesScrollButtons(true);
    resize(std::min(wanted.width(), screen.width() - kFrameRoom),
           std::min(wanted.height(), screen.height() - kFrameRoom));
}

QRect CConfigProp::availableScreen() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 600);
}

CConfigProp::~CConfigProp() = default;

bool CConfigProp::storeAll(Settings& settings) const {
    bool ok = true;
    for (CConfigPage* page : m_pages) {
        page->store(settings);
        ok = page->write(settings, false) && ok;
    }
    return ok;
}

void CConfigProp::accept() {
    bool ok = true;
    for (CConfigPage* page : m_pages) ok = page->onOK() && ok;
    if (!ok) {
        // The sheet stays open, so that nothing typed is lost.
        if (m_services.note)
            m_services.note(
                this, "Quorvane",
                "Some settings could not be saved.\n\n" +
                    saveFailureReason(QString::fromStdString(m_settings.store().folder().string()),
                                      {platform::ProfileStore::kRegistryFile, Settings::kIniFile}) +
                    "\n\nThe sheet stays open with your changes.");
        return;
    }
    QDialog::accept();
}
