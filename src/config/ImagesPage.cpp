#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/ConfigPages.h"
#include "styles/image/qvFolder.h"

namespace {

constexpr const char* kCaption = "Quorvane";

// Folders are names of the file system, kept in its own encoding.
QString fromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string toPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// True when the folder holds an image of a kind the image style shows.
bool holdsImages(const QString& folder) {
    qvFolder search(toPath(folder));
    for (const char* pattern : {"*.jpg", "*.jpeg", "*.jpe", "*.bmp"})
        if (search.Find(pattern) > 0) return true;
    return false;
}

// The name a desktop entry gives a program: "firefox-esr.desktop" is firefox-esr.
QString browserName(const std::string& entry) {
    QString name = QString::fromStdString(entry);
    if (name.endsWith(".desktop")) name.chop(8);
    return name.isEmpty() ? QString("Your default browser") : name;
}

}  // namespace

CImagesPage::CImagesPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, parent) {
    m_folders = new QListWidget(this);
    m_folders->setObjectName("Folders");
    addToolTip(m_folders, "List of folders that Quorvane will search for images");
    auto* listLabel = new QLabel("&Folders to search for images (JPEG and Bitmaps):", this);
    listLabel->setBuddy(m_folders);

    QPushButton* add = makeButton("&Add...", "add", QString());
    QPushButton* remove = makeButton("&Remove", "remove", QString());
    QPushButton* cache = makeButton("Add browser &cache", "browserCache", QString());
    auto* folderButtons = new QVBoxLayout;
    folderButtons->addWidget(add);
    folderButtons->addWidget(remove);
    folderButtons->addWidget(cache);
    folderButtons->addStretch();
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folders, 1);
    folderRow->addLayout(folderButtons);

    auto* grid = new QGridLayout;
    addSlider(
        grid, 0, 0,
        QV_SLIDER_ROW("&Pause after displaying an image:", ImagePause, imagePause, setImagePause, 0, 60, 6,
                      "How long to pause before starting the next drawing after an image is "
                      "displayed"));
    addSlider(
        grid, 1, 0,
        QV_SLIDER_ROW("&Minimum period between images:", ImagePeriod, imagePeriod, setImagePeriod, 0, 300, 30,
                      "The minimum time between displaying images, so they don't cycle too "
                      "quickly"));

    auto* order = new QGroupBox("Display order", this);
    m_random = new QRadioButton("Ra&ndom", order);
    m_random->setObjectName("random");
    addToolTip(m_random, "Images will be selected for display in random order");
    m_alphabetical = new QRadioButton("A&lphabetically by folder", order);
    m_alphabetical->setObjectName("alphabetical");
    addToolTip(m_alphabetical, "All images from the first folder will be displayed in alphabetical "
                               "order, then the second alphabetical folder, and so on");
    m_startFirst = makeButton("&Start at first image next run", "startFirst", QString());
    auto* orderLayout = new QGridLayout(order);
    orderLayout->addWidget(m_random, 0, 0);
    orderLayout->addWidget(m_alphabetical, 1, 0);
    orderLayout->addWidget(m_startFirst, 1, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(listLabel);
    page->addLayout(folderRow);
    page->addLayout(grid);
    page->addWidget(order);
    addButtonRow(page, 1044);

    connect(add, &QPushButton::clicked, this, &CImagesPage::addFolder);
    connect(remove, &QPushButton::clicked, this, &CImagesPage::removeFolder);
    connect(cache, &QPushButton::clicked, this, &CImagesPage::addBrowserCache);
    connect(m_startFirst, &QPushButton::clicked, this, &CImagesPage::startAtFirst);
    connect(m_alphabetical, &QRadioButton::toggled, this, &CImagesPage::orderChanged);
    watch(m_alphabetical);
    initialise();
}

void CImagesPage::initialise() {
    CConfigPage::initialise();
    m_folders->clear();
    for (const auto& folder : m_settings.folders()) m_folders->addItem(fromPath(folder));
    (m_settings.imageOrder() == 1 ? m_alphabetical : m_random)->setChecked(true);
    orderChanged();
}

void CImagesPage::orderChanged() { m_startFirst->setEnabled(m_alphabetical->isChecked()); }

std::vector<std::string> CImagesPage::folders() const {
    std::vector<std::string> list;
    for (int i = 0; i < m_folders->count(); ++i) list.push_back(toPath(m_folders->item(i)->text()));
    return list;
}

bool CImagesPage::addFolderPath(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    for (int i = 0; i < m_folders->count(); ++i)
        if (QDir::cleanPath(m_folders->item(i)->text()) == clean) return false;
    m_folders->addItem(folder);
    emit changed();
    return true;
}

void CImagesPage::addFolder() {
    if (!m_services.chooseFolder) return;
    const QString folder = m_services.chooseFolder(this, "Choose a folder containing your images:");
    if (folder.isEmpty() || !addFolderPath(folder)) return;
    if (!holdsImages(folder)) note(kCaption, "No images (jpg, jpe, jpeg or bmp) were found in this folder.");
}

void CImagesPage::removeFolder() {
    const int row = m_folders->currentRow();
    if (row < 0) return;
    delete m_folders->takeItem(row);
    emit changed();
}

void CImagesPage::startAtFirst() {
    m_bStartFromFirst = true;
    note(kCaption, "Images will start from the first one on the next run.");
}

void CImagesPage::addBrowserCache() {
    const std::string handler = m_services.defaultBrowser ? m_services.defaultBrowser() : "";
    // Only two browsers' caches were ever known, both by settings this desktop
    // does not have.
    if (QString::fromStdString(handler).contains("netscape", Qt::CaseInsensitive)) {
        note(kCaption, "Quorvane could not locate the Netscape cache.\nIt can be added by searching "
                       "with the Add button.");
        return;
    }
    note(kCaption, browserName(handler) +
                       " not supported.\nOnly IExplore and Netscape. Other cache folders can be "
                       "added with the Add button.");
}

void CImagesPage::store(Settings& settings) const {
    CConfigPage::store(settings);
    settings.setImageOrder(m_alphabetical->isChecked() ? 1 : 0);
    settings.setFolders(folders());
}

bool CImagesPage::write(Settings& settings, bool final) {
    bool ok = settings.writeImages();
    if (final && m_bStartFromFirst) {
        settings.setImageNext(0);
        ok = settings.writeImageNext() && ok;
    }
    return ok;
}
