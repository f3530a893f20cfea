#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "config/ConfigPages.h"

namespace {
constexpr int kMinutesMin = 1;
constexpr int kMinutesMax = 999;
}  // namespace

CSettingsPage::CSettingsPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, parent) {
    auto* grid = new QGridLayout;
    addSlider(grid, 0, 0,
              QV_SLIDER_ROW("&Speed:", Speed, speed, setSpeed, 0, 100, 10,
                            "Slide to the right slow to down the Drawing speed"));
    addSlider(grid, 1, 0,
              QV_SLIDER_ROW("&Delay between drawings:", DelayBetweenDrawings, delayBetweenDrawings,
                            setDelayBetweenDrawings, 0, 60, 6,
                            "Useful if you would like to be able to grab a screenshot before the "
                            "drawing is overwritten"));
    addSlider(grid, 2, 0,
              QV_SLIDER_ROW("Mi&nimum time per drawing:", MinTime, minTime, setMinTime, 0, 300, 30,
                            "Sets the minimum time a particular shape is Drawn, up to 5 minutes"));
    addSlider(grid, 3, 0,
              QV_SLIDER_ROW("Ma&ximum time per drawing:", MaxTime, maxTime, setMaxTime, 0, 300, 30,
                            "Sets the maximum time a particular shape is Drawn, up to 5 minutes"));

    m_blank = new QCheckBox("&Blank screen after specified period", this);
    m_blank->setObjectName("BlankScreen");
    addToolTip(m_blank, "Stops using images and text in case you run overnight disk utilities, eg "
                        "backup, defrag");
    addToolTip(m_blank, "Use this if you are also using automatic power off");
    m_minutes = new QSpinBox(this);
    m_minutes->setObjectName("BlankMinutes");
    m_minutes->setRange(kMinutesMin, kMinutesMax);
    addToolTip(m_minutes, "Set to 5 minutes less than the difference between your power down time "
                          "and screensaver delay time");
    m_minutesLabel = new QLabel("minutes", this);
    auto* blankRow = new QHBoxLayout;
    blankRow->addWidget(m_blank);
    blankRow->addWidget(m_minutes);
    blankRow->addWidget(m_minutesLabel);
    blankRow->addStretch();

    m_ignoreMouse = new QCheckBox("&Ignore mouse for wake-up", this);
    m_ignoreMouse->setObjectName("IgnoreMouse");
    addToolTip(m_ignoreMouse, "Moving the mouse will not stop the screensaver. (Not available under "
                              "NT unless running from a shortcut)");

    // Kept for the mnemonic it reserves; the page has no preset of its own.
    QPushButton* chaos = makeButton(kReduceChaosText, "reduceChaos", QString());
    chaos->setVisible(false);

    auto* page = new QVBoxLayout(this);
    page->addLayout(grid);
    page->addLayout(blankRow);
    page->addWidget(m_ignoreMouse);
    addButtonRow(page, 1043, chaos);

    connect(m_blank, &QCheckBox::toggled, this, &CSettingsPage::blankScreenToggled);
    connect(m_ignoreMouse, &QCheckBox::toggled, this, [this](bool on) { m_bIgnoreMouse = on; });
    connect(m_minutes, &QSpinBox::valueChanged, this, &CConfigPage::changed);
    watch(m_blank);
    watch(m_ignoreMouse);
    initialise();
}

void CSettingsPage::initialise() {
    CConfigPage::initialise();
    m_bBlankScreen = m_settings.blankScreen() != 0;
    m_bIgnoreMouse = m_settings.ignoreMouse();
    m_blank->setChecked(m_bBlankScreen);
    m_ignoreMouse->setChecked(m_bIgnoreMouse);
    m_minutes->setValue(m_settings.blankMinutes());
    blankScreenToggled();
}

void CSettingsPage::blankScreenToggled() {
    m_bBlankScreen = m_blank->isChecked();
    m_minutes->setEnabled(m_bBlankScreen);
    m_minutesLabel->setEnabled(m_bBlankScreen);
}

void CSettingsPage::store(Settings& settings) const {
    CConfigPage::store(settings);
    settings.setBlankScreen(m_bBlankScreen ? 1 : 0);
    settings.setBlankMinutes(m_minutes->value());
    settings.setIgnoreMouse(m_bIgnoreMouse);
}

bool CSettingsPage::write(Settings& settings, bool) { return settings.writeTiming(); }
