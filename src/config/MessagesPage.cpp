#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QVBoxLayout>

#include "config/ConfigPages.h"
#include "config/Windows1252.h"

CMessagesPage::CMessagesPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("Messages"), parent) {
    auto* heading = new QLabel(QString::fromUtf8(description().heading), this);
    heading->setWordWrap(true);
    heading->setBuddy(control("Message0"));
    body()->insertWidget(0, heading);
    m_warning = new QLabel(this);
    m_warning->setObjectName("lossWarning");
    m_warning->setWordWrap(true);
    m_warning->setTextFormat(Qt::PlainText);
    m_warning->hide();
    body()->insertWidget(blockEnd(0) + 1, m_warning);
    for (const Entry& e : m_entries)
        connect(static_cast<QLineEdit*>(e.widget), &QLineEdit::textChanged, this, &CMessagesPage::markLosses);
    initialise();
}

void CMessagesPage::initialise() {
    CConfigPage::initialise();
    markLosses();
}

QString CMessagesPage::lostCharacters(int i) const {
    const Entry& e = m_entries.at(static_cast<size_t>(i));
    const QString now = static_cast<QLineEdit*>(e.widget)->text();
    // One left as it was is written back exactly.
    if (now == e.initial) return {};
    QString lost;
    for (const char32_t c : now.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (fromWindows1252(toWindows1252(one)) != one && !lost.contains(one)) lost += one;
    }
    return lost;
}

void CMessagesPage::markLosses() {
    QStringList lines;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        auto* edit = static_cast<QLineEdit*>(m_entries[i].widget);
        const QString lost = lostCharacters(static_cast<int>(i));
        edit->setProperty("losesCharacters", !lost.isEmpty());
        QPalette colours;
        if (!lost.isEmpty()) {
            colours.setColor(QPalette::Text, QColor(0xb0, 0, 0));
            lines << QString("Message %1: %2").arg(i + 1).arg(lost);
        }
        edit->setPalette(colours);
    }
    if (lines.isEmpty()) {
        m_warning->hide();
        return;
    }
    m_warning->setText(
        "The saver draws text in the Windows-1252 character set, which lacks these characters; "
        "they will be saved as \"?\" when you press OK:\n" +
        lines.join('\n'));
    m_warning->show();
}
