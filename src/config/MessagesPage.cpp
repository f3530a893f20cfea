#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "config/ConfigPages.h"
#include "config/Windows1252.h"

CMessagesPage::CMessagesPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, parent) {
    auto* heading = new QLabel("&Enter your text messages - they will be displayed at random:", this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < Settings::kMessageCount; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("Message%1").arg(i));
        auto* label = new QLabel(QString("&%1:").arg(i + 1), this);
        label->setBuddy(edit);
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1);
        connect(edit, &QLineEdit::textEdited, this, &CConfigPage::changed);
        m_edits.push_back(edit);
    }
    heading->setBuddy(m_edits.front());
    auto* page = new QVBoxLayout(this);
    page->addWidget(heading);
    page->addLayout(grid);
    addButtonRow(page, 1043);
    initialise();
}

void CMessagesPage::initialise() {
    for (int i = 0; i < Settings::kMessageCount; ++i)
        m_edits[static_cast<size_t>(i)]->setText(fromWindows1252(m_settings.message(i)));
}

void CMessagesPage::store(Settings& settings) const {
    for (int i = 0; i < Settings::kMessageCount; ++i)
        settings.setMessage(i, toWindows1252(m_edits[static_cast<size_t>(i)]->text()));
}

bool CMessagesPage::write(Settings& settings, bool) { return settings.writeMessages(); }
