#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/ConfigPages.h"
#include "styles/image/qvFolder.h"

namespace {

constexpr const char* kCaption = sheet::kNoteCaption;
// Each item of the list keeps the folder's name as the file system has it:
// a name that is not valid UTF-8 shows with replacement characters but is
// stored with its own bytes.
constexpr int kPathRole = Qt::UserRole;

// True when the folder holds an image of a kind the image style shows.
bool holdsImages(const std::string& folder) {
    qvFolder search(folder);
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

QListWidgetItem* itemFor(const std::string& path) {
    const QByteArray bytes = QByteArray::fromStdString(path);
    auto* item = new QListWidgetItem(QFile::decodeName(bytes));
    item->setData(kPathRole, bytes);
    return item;
}

std::string pathOf(const QListWidgetItem* item) { return item->data(kPathRole).toByteArray().toStdString(); }

}  // namespace

CImagesPage::CImagesPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("Images"), parent) {
    m_folders = static_cast<QListWidget*>(control("Folders"));
    std::vector<QPushButton*> buttons;
    for (const sheet::Button& b : description().buttons)
        buttons.push_back(makeButton(QString::fromUtf8(b.label), b.name, QString::fromUtf8(b.toolTip)));
    QPushButton* add = buttons.at(0);
    QPushButton* remove = buttons.at(1);
    QPushButton* cache = buttons.at(2);
    m_startFirst = buttons.at(3);
    folderButtons()->addWidget(add);
    folderButtons()->addWidget(remove);
    folderButtons()->addWidget(cache);
    folderButtons()->addStretch();

    const auto& order = entry("ImageOrder")->options;
    order[0]->setObjectName("random");
    m_alphabetical = order[1];
    m_alphabetical->setObjectName("alphabetical");
    choiceGrid()->addWidget(m_startFirst, 1, 1);

    connect(add, &QPushButton::clicked, this, &CImagesPage::addFolder);
    connect(remove, &QPushButton::clicked, this, &CImagesPage::removeFolder);
    connect(cache, &QPushButton::clicked, this, &CImagesPage::addBrowserCache);
    connect(m_startFirst, &QPushButton::clicked, this, &CImagesPage::startAtFirst);
    connect(m_alphabetical, &QRadioButton::toggled, this, &CImagesPage::orderChanged);
    initialise();
}

void CImagesPage::initialise() {
    CConfigPage::initialise();
    m_folders->clear();
    for (const auto& folder : m_settings.folders()) m_folders->addItem(itemFor(folder));
    orderChanged();
}

void CImagesPage::orderChanged() { m_startFirst->setEnabled(m_alphabetical->isChecked()); }

std::vector<std::string> CImagesPage::folders() const {
    std::vector<std::string> list;
    for (int i = 0; i < m_folders->count(); ++i) list.push_back(pathOf(m_folders->item(i)));
    return list;
}

bool CImagesPage::addFolderPath(const QString& folder) {
    const std::string path = QFile::encodeName(folder).toStdString();
    // The settings file separates the folders with "*".
    if (path.find('*') != std::string::npos) {
        note(kCaption, "The folder \"" + folder + "\"" + sheet::kStarInFolderNote);
        return false;
    }
    const QString clean = QDir::cleanPath(QFile::decodeName(QByteArray::fromStdString(path)));
    for (int i = 0; i < m_folders->count(); ++i) {
        const std::string other = pathOf(m_folders->item(i));
        if (other == path || QDir::cleanPath(QFile::decodeName(QByteArray::fromStdString(other))) == clean)
            return false;
    }
    m_folders->addItem(itemFor(path));
    emit changed();
    return true;
}

void CImagesPage::addFolder() {
    if (!m_services.chooseFolder) return;
    const QString folder = m_services.chooseFolder(this, sheet::kChooseFolderTitle);
    if (folder.isEmpty() || !addFolderPath(folder)) return;
    if (!holdsImages(QFile::encodeName(folder).toStdString())) note(kCaption, sheet::kNoImagesNote);
}

void CImagesPage::removeFolder() {
    const int row = m_folders->currentRow();
    if (row < 0) return;
    delete m_folders->takeItem(row);
    emit changed();
}

void CImagesPage::startAtFirst() {
    m_bStartFromFirst = true;
    note(kCaption, sheet::kStartFirstNote);
}

void CImagesPage::addBrowserCache() {
    const std::string handler = m_services.defaultBrowser ? m_services.defaultBrowser() : "";
    // Only two browsers' caches were ever known, both by settings this desktop
    // does not have.
    if (QString::fromStdString(handler).contains("netscape", Qt::CaseInsensitive)) {
        note(kCaption, sheet::kNetscapeCacheNote);
        return;
    }
    note(kCaption, browserName(handler) + sheet::kCacheUnsupportedNote);
}

void CImagesPage::store(Settings& settings) const {
    CConfigPage::store(settings);
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
