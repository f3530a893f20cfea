#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "config/ConfigPages.h"
#include "config/Windows1252.h"

namespace {

// Slider rows: label, low end, slider, high end, value; a second column of
// sliders (the hues) starts after them.
constexpr int kColumnsPerSlider = 5;
// Long labels wrap rather than widen the sheet past a small screen.
constexpr int kLabelWidth = 230;

QString text(const char* s) { return QString::fromUtf8(s); }

// Asks for room for all its content (the sheet opens that large where the
// screen allows) but can be made as small as the sheet needs.
class PageScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const QSize content = widget() ? widget()->sizeHint() : QSize();
        const int bar = verticalScrollBar()->sizeHint().width();
        return QSize(content.width() + bar + 2 * frameWidth(), content.height() + 2 * frameWidth());
    }
};

// The hue a colour weight chooses: one twelfth of the circle each.
QLabel* sample(int hue, QWidget* parent) {
    QPixmap swatch(28, 16);
    swatch.fill(QColor::fromHslF(static_cast<float>(hue) / Settings::kColorCount, 1.0f, 0.5f));
    auto* label = new QLabel(parent);
    label->setPixmap(swatch);
    label->setObjectName(QString("sample%1").arg(hue));
    return label;
}

}  // namespace

CConfigPage::CConfigPage(Settings& settings, const ConfigServices& services, const sheet::Page& description,
                         QWidget* parent)
    : QWidget(parent), m_settings(settings), m_services(services), m_description(description) {
    build();
}

void CConfigPage::build() {
    // The controls scroll inside the page, so that the sheet fits a small
    // or scaled screen; the page's buttons stay in sight below them.
    auto* scroll = new PageScroll(this);
    scroll->setObjectName("pageScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    auto* content = new QWidget(scroll);
    m_body = new QVBoxLayout(content);
    // A little room on the right, so that values do not touch a scroll bar.
    m_body->setContentsMargins(0, 0, 6, 0);
    scroll->setWidget(content);
    // The page's own background shows through.
    content->setAutoFillBackground(false);

    QGridLayout* grid = nullptr;
    int block = -1;
    int rows[2] = {0, 0};
    for (const sheet::Control& c : m_description.controls) {
        if (!grid || c.block != block) {
            if (grid) m_blockEnd[block] = m_body->count();
            grid = new QGridLayout;
            grid->setColumnStretch(2, 1);
            m_body->addLayout(grid);
            block = c.block;
            rows[0] = rows[1] = 0;
        }
        int& row = rows[c.column];
        switch (c.kind) {
            case sheet::Kind::Slider:
                addSlider(grid, c, row);
                break;
            case sheet::Kind::Text:
                addText(grid, c, row);
                break;
            case sheet::Kind::Check: {
                auto* box = new QCheckBox(text(c.label), content);
                m_entries.push_back({&c, box});
                grid->addWidget(box, row++, 0, 1, kColumnsPerSlider);
                connect(box, &QCheckBox::toggled, this, [this] {
                    followChecks();
                    emit changed();
                });
                break;
            }
            case sheet::Kind::Spin: {
                auto* spin = new QSpinBox(content);
                spin->setRange(c.minimum, c.maximum);
                spin->setSuffix(QString(" ") + sheet::unitSymbol(c.unit));
                m_entries.push_back({&c, spin});
                // Beside the check box that enables it, else on a row of its own.
                const bool beside = c.enabledBy && m_entries.size() > 1 &&
                                    std::string(m_entries[m_entries.size() - 2].control->key) == c.enabledBy;
                if (beside) {
                    grid->removeWidget(m_entries[m_entries.size() - 2].widget);
                    grid->addWidget(m_entries[m_entries.size() - 2].widget, row - 1, 0, 1, 2);
                    auto* keep = new QHBoxLayout;
                    keep->addWidget(spin);
                    keep->addStretch();
                    grid->addLayout(keep, row - 1, 2, 1, kColumnsPerSlider - 2);
                } else {
                    auto* label = new QLabel(text(c.label), content);
                    label->setBuddy(spin);
                    grid->addWidget(label, row, 0);
                    grid->addWidget(spin, row++, 2);
                }
                connect(spin, &QSpinBox::valueChanged, this, &CConfigPage::changed);
                break;
            }
            case sheet::Kind::Choice: {
                auto* group = new QGroupBox(text(c.label), content);
                m_choiceGrid = new QGridLayout(group);
                Entry e{&c, group};
                for (size_t i = 0; i < c.options.size(); ++i) {
                    auto* radio = new QRadioButton(text(c.options[i].label), group);
                    radio->setObjectName(QString("%1%2").arg(c.key).arg(i));
                    addToolTip(radio, text(c.options[i].toolTip));
                    m_choiceGrid->addWidget(radio, static_cast<int>(i), 0);
                    connect(radio, &QRadioButton::toggled, this, &CConfigPage::changed);
                    e.options.push_back(radio);
                }
                m_entries.push_back(e);
                grid->addWidget(group, row++, 0, 1, kColumnsPerSlider);
                break;
            }
            case sheet::Kind::FolderList: {
                auto* list = new QListWidget(content);
                auto* label = new QLabel(text(c.label), content);
                label->setBuddy(list);
                label->setWordWrap(true);
                m_folderButtons = new QVBoxLayout;
                auto* rowLayout = new QHBoxLayout;
                rowLayout->addWidget(list, 1);
                rowLayout->addLayout(m_folderButtons);
                grid->addWidget(label, row++, 0, 1, kColumnsPerSlider);
                grid->addLayout(rowLayout, row++, 0, 1, kColumnsPerSlider);
                m_entries.push_back({&c, list});
                break;
            }
        }
        QWidget* w = m_entries.back().widget;
        if (w->objectName().isEmpty()) w->setObjectName(c.key);
        if (w->accessibleName().isEmpty()) w->setAccessibleName(QString::fromStdString(c.name()));
        for (const char* tip : c.toolTips) addToolTip(w, text(tip));
        if (c.paletteToolTip && m_services.bitsPerPixel <= 8) {
            m_toolTips.erase(std::remove_if(m_toolTips.begin(), m_toolTips.end(),
                                            [w](const auto& t) { return t.first == w; }),
                             m_toolTips.end());
            addToolTip(w, text(c.paletteToolTip));
        }
    }
    if (grid) m_blockEnd[block] = m_body->count();
    m_body->addStretch();

    for (const auto& [lower, upper] : m_description.ordered) {
        connect(slider(lower), &QSlider::valueChanged, this, [this, key = lower] { keepOrdered(key); });
        connect(slider(upper), &QSlider::valueChanged, this, [this, key = upper] { keepOrdered(key); });
    }

    // The page's buttons: "Reduce Chaos" (where it has one) and the reset.
    auto* buttons = new QHBoxLayout;
    if (m_description.hasChaos) {
        QPushButton* chaos = makeButton(kReduceChaosText, "reduceChaos",
                                        m_description.chaosToolTip ? text(m_description.chaosToolTip) : "");
        chaos->setVisible(!m_description.chaosHidden);
        connect(chaos, &QPushButton::clicked, this, &CConfigPage::applyChaos);
        buttons->addWidget(chaos);
    }
    buttons->addStretch();
    QPushButton* reset = makeButton(kResetText, "reset", text(m_description.resetToolTip));
    reset->setProperty("controlId", m_description.resetId);
    connect(reset, &QPushButton::clicked, this, &CConfigPage::resetToDefaults);
    buttons->addWidget(reset);

    auto* page = new QVBoxLayout(this);
    page->addWidget(scroll, 1);
    page->addLayout(buttons);

    const bool possible = !m_description.needsAnimation || sheet::animationPossible(m_services.bitsPerPixel);
    for (const Entry& e : m_entries) e.widget->setEnabled(possible);
    followChecks();
}

void CConfigPage::addSlider(QGridLayout* grid, const sheet::Control& c, int& row) {
    QWidget* content = m_body->parentWidget();
    auto* s = new QSlider(Qt::Horizontal, content);
    s->setRange(c.minimum, c.maximum);
    s->setPageStep(c.step);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(c.step);
    s->setMinimumWidth(120);
    const int column = c.column * kColumnsPerSlider;
    auto* label = new QLabel(text(c.label), content);
    label->setBuddy(s);
    if (c.hue >= 0) {
        auto* named = new QHBoxLayout;
        named->addWidget(sample(c.hue, content));
        named->addWidget(label);
        named->addStretch();
        grid->addLayout(named, row, column);
    } else {
        // Only a label too long for its column wraps.
        if (label->sizeHint().width() > kLabelWidth) {
            label->setWordWrap(true);
            label->setMinimumWidth(kLabelWidth * 2 / 3);
            label->setMaximumWidth(kLabelWidth);
        }
        grid->addWidget(label, row, column);
    }
    if (c.lowEnd) grid->addWidget(new QLabel(text(c.lowEnd), content), row, column + 1);
    grid->addWidget(s, row, column + 2);
    if (c.highEnd) grid->addWidget(new QLabel(text(c.highEnd), content), row, column + 3);
    // Wide enough for every value of the range, so that the row keeps still.
    auto* value = new QLabel(content);
    value->setObjectName(QString(c.key) + "Value");
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    int widest = 0;
    const QFontMetrics metrics(value->font());
    for (int v = c.minimum; v <= c.maximum; ++v)
        widest =
            std::max(widest, metrics.horizontalAdvance(QString::fromStdString(sheet::formatValue(c, v))));
    value->setMinimumWidth(widest + 4);
    grid->addWidget(value, row++, column + 4);
    if (c.column > 0) grid->setColumnStretch(column + 2, 1);

    m_entries.push_back({&c, s, value});
    connect(s, &QSlider::valueChanged, this, [this, i = m_entries.size() - 1] {
        showValue(m_entries[i]);
        emit changed();
    });
    showValue(m_entries.back());
}

void CConfigPage::addText(QGridLayout* grid, const sheet::Control& c, int& row) {
    QWidget* content = m_body->parentWidget();
    auto* edit = new QLineEdit(content);
    auto* label = new QLabel(text(c.label), content);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row++, 1, 1, kColumnsPerSlider - 1);
    edit->setAccessibleName(QString("Message %1").arg(c.index + 1));
    connect(edit, &QLineEdit::textEdited, this, &CConfigPage::changed);
    m_entries.push_back({&c, edit});
}

void CConfigPage::showValue(const Entry& e) const {
    if (!e.value) return;
    const auto* s = static_cast<const QSlider*>(e.widget);
    const QString shown = QString::fromStdString(sheet::formatValue(*e.control, s->value()));
    e.value->setText(shown);
    e.widget->setAccessibleDescription(shown);
}

const CConfigPage::Entry* CConfigPage::entry(const char* key) const {
    for (const Entry& e : m_entries)
        if (qstrcmp(e.control->key, key) == 0) return &e;
    return nullptr;
}

int CConfigPage::valueOf(const Entry& e) const {
    switch (e.control->kind) {
        case sheet::Kind::Slider:
            return static_cast<QSlider*>(e.widget)->value();
        case sheet::Kind::Spin:
            return static_cast<QSpinBox*>(e.widget)->value();
        case sheet::Kind::Check:
            return static_cast<QCheckBox*>(e.widget)->isChecked() ? 1 : 0;
        case sheet::Kind::Choice:
            for (size_t i = 0; i < e.options.size(); ++i)
                if (e.options[i]->isChecked()) return static_cast<int>(i);
            return 0;
        default:
            return 0;
    }
}

void CConfigPage::setValueOf(const Entry& e, int value) {
    switch (e.control->kind) {
        case sheet::Kind::Slider:
            static_cast<QSlider*>(e.widget)->setValue(value);
            break;
        case sheet::Kind::Spin:
            static_cast<QSpinBox*>(e.widget)->setValue(value);
            break;
        case sheet::Kind::Check:
            static_cast<QCheckBox*>(e.widget)->setChecked(value != 0);
            break;
        case sheet::Kind::Choice:
            // A stored order the page does not know shows as the first.
            if (!e.options.empty())
                e.options[value > 0 && static_cast<size_t>(value) < e.options.size()
                              ? static_cast<size_t>(value)
                              : 0]
                    ->setChecked(true);
            break;
        default:
            break;
    }
}

void CConfigPage::initialise() {
    m_initialising = true;
    for (Entry& e : m_entries) {
        if (e.control->numeric()) {
            setValueOf(e, sheet::value(m_settings, *e.control));
        } else if (e.control->kind == sheet::Kind::Text) {
            // The text as stored, where the record could not hold all of it.
            const std::string& stored = m_settings.storedMessage(e.control->index);
            e.initial = stored.empty() ? fromWindows1252(m_settings.message(e.control->index))
                                       : QString::fromStdString(stored);
            static_cast<QLineEdit*>(e.widget)->setText(e.initial);
        }
    }
    m_initialising = false;
    // As the record writes them: a maximum below its minimum is raised.
    for (const auto& [lower, upper] : m_description.ordered)
        if (slider(upper)->value() < slider(lower)->value()) slider(upper)->setValue(slider(lower)->value());
    followChecks();
}

void CConfigPage::store(Settings& settings) const {
    for (const Entry& e : m_entries) {
        if (e.control->numeric()) {
            sheet::setValue(settings, *e.control, valueOf(e));
        } else if (e.control->kind == sheet::Kind::Text) {
            // Only an edited message is set: one left alone goes back exactly.
            const QString now = static_cast<QLineEdit*>(e.widget)->text();
            if (now != e.initial) settings.setMessage(e.control->index, toWindows1252(now));
        }
    }
}

bool CConfigPage::write(Settings& settings, bool) { return (settings.*m_description.write)(); }

bool CConfigPage::onOK() {
    store(m_settings);
    return write(m_settings, true);
}

void CConfigPage::resetToDefaults() {
    for (const Entry& e : m_entries) {
        if (e.control->numeric())
            setValueOf(e, e.control->defaultValue);
        else if (e.control->kind == sheet::Kind::Text)
            static_cast<QLineEdit*>(e.widget)->setText(
                fromWindows1252(sheet::defaultText(m_settings, *e.control)));
    }
    emit changed();
}

void CConfigPage::applyChaos() {
    for (const auto& [key, value] : m_description.chaos)
        if (const Entry* e = entry(key)) setValueOf(*e, value);
}

void CConfigPage::keepOrdered(const char* moved) {
    if (m_initialising) return;
    for (const auto& [lower, upper] : m_description.ordered) {
        QSlider* lo = slider(lower);
        QSlider* hi = slider(upper);
        if (lo->value() <= hi->value()) continue;
        // The other one follows the one the user moved, in sight.
        if (qstrcmp(moved, lower) == 0)
            hi->setValue(lo->value());
        else
            lo->setValue(hi->value());
    }
}

void CConfigPage::followChecks() {
    for (const Entry& e : m_entries) {
        if (!e.control->enabledBy) continue;
        const Entry* by = entry(e.control->enabledBy);
        const bool on = by && by->widget->isEnabled() && static_cast<QCheckBox*>(by->widget)->isChecked();
        e.widget->setEnabled(on);
    }
}

QWidget* CConfigPage::control(const char* key) const {
    const Entry* e = entry(key);
    return e ? e->widget : nullptr;
}

QSlider* CConfigPage::slider(const char* key) const {
    const Entry* e = entry(key);
    return e && e->control->kind == sheet::Kind::Slider ? static_cast<QSlider*>(e->widget) : nullptr;
}

QLabel* CConfigPage::valueLabel(const char* key) const {
    const Entry* e = entry(key);
    return e ? e->value : nullptr;
}

std::vector<std::pair<QSlider*, const sheet::Control*>> CConfigPage::sliders() const {
    std::vector<std::pair<QSlider*, const sheet::Control*>> all;
    for (const Entry& e : m_entries)
        if (e.control->kind == sheet::Kind::Slider)
            all.emplace_back(static_cast<QSlider*>(e.widget), e.control);
    return all;
}

QStringList CConfigPage::toolTips(const QWidget* widget) const {
    QStringList tips;
    for (const auto& [w, tip] : m_toolTips)
        if (w == widget) tips << tip;
    return tips;
}

void CConfigPage::addToolTip(QWidget* widget, const QString& tip) {
    m_toolTips.emplace_back(widget, tip);
    // A control with two tips shows both.
    widget->setToolTip(toolTips(widget).join('\n'));
    if (widget->accessibleDescription().isEmpty()) widget->setAccessibleDescription(tip);
}

QPushButton* CConfigPage::makeButton(const QString& label, const char* name, const QString& toolTip) {
    auto* button = new QPushButton(label, this);
    button->setObjectName(name);
    if (!toolTip.isEmpty()) addToolTip(button, toolTip);
    return button;
}

void CConfigPage::note(const QString& caption, const QString& message) {
    if (m_services.note) m_services.note(this, caption, message);
}

// The pages that are their description alone.
CSettingsPage::CSettingsPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("General"), parent) {
    initialise();
}

CStylePage::CStylePage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("Styles"), parent) {
    initialise();
}

CTextPage::CTextPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("Text"), parent) {
    initialise();
}

CLayoutPage::CLayoutPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("Layout"), parent) {
    initialise();
}

COutlinePage::COutlinePage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("Outline"), parent) {
    initialise();
}
