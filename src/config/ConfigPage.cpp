#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "config/ConfigPages.h"

CConfigPage::CConfigPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_services(services) {}

void CConfigPage::initialise() {
    for (auto& [slider, spec] : m_sliders) slider->setValue(spec.get(m_settings));
}

void CConfigPage::store(Settings& settings) const {
    for (const auto& [slider, spec] : m_sliders) spec.set(settings, slider->value());
}

bool CConfigPage::onOK() {
    store(m_settings);
    return write(m_settings, true);
}

void CConfigPage::resetToDefaults() {
    for (auto& [slider, spec] : m_sliders) slider->setValue(spec.defaultValue);
}

QSlider* CConfigPage::slider(const char* key) const {
    for (const auto& [slider, spec] : m_sliders)
        if (qstrcmp(spec.key, key) == 0) return slider;
    return nullptr;
}

QStringList CConfigPage::toolTips(const QWidget* widget) const {
    QStringList tips;
    for (const auto& [w, text] : m_toolTips)
        if (w == widget) tips << text;
    return tips;
}

void CConfigPage::addToolTip(QWidget* widget, const QString& text) {
    m_toolTips.emplace_back(widget, text);
    // A control with two tips shows both.
    widget->setToolTip(toolTips(widget).join('\n'));
}

QSlider* CConfigPage::addSlider(QGridLayout* grid, int row, int column, const SliderRow& spec) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(spec.key);
    slider->setRange(spec.minimum, spec.maximum);
    slider->setPageStep(spec.pageSize);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(spec.pageSize);
    slider->setMinimumWidth(160);
    addToolTip(slider, spec.toolTip);
    if (!spec.label.isEmpty()) {
        auto* label = new QLabel(spec.label, this);
        label->setBuddy(slider);
        grid->addWidget(label, row, column);
    }
    grid->addWidget(slider, row, column + 1);
    connect(slider, &QSlider::valueChanged, this, &CConfigPage::changed);
    m_sliders.emplace_back(slider, spec);
    return slider;
}

QPushButton* CConfigPage::makeButton(const QString& text, const char* name, const QString& toolTip) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    if (!toolTip.isEmpty()) addToolTip(button, toolTip);
    return button;
}

void CConfigPage::addButtonRow(QVBoxLayout* page, int resetId, QPushButton* left) {
    QPushButton* reset = makeButton(kResetText, "reset", kResetTip);
    reset->setProperty("controlId", resetId);
    connect(reset, &QPushButton::clicked, this, &CConfigPage::resetToDefaults);
    auto* row = new QHBoxLayout;
    if (left) row->addWidget(left);
    row->addStretch();
    row->addWidget(reset);
    page->addStretch();
    page->addLayout(row);
}

void CConfigPage::applyPreset(const Preset& preset) {
    for (const auto& [key, value] : preset.values)
        if (QSlider* s = slider(key)) s->setValue(value);
}

void CConfigPage::watch(QAbstractButton* button) {
    connect(button, &QAbstractButton::toggled, this, &CConfigPage::changed);
}

void CConfigPage::note(const QString& caption, const QString& text) {
    if (m_services.note) m_services.note(this, caption, text);
}
