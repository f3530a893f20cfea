#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "config/ConfigPages.h"

// This platform counts as the NT line from version 5, where a true-colour
// display animates its colours by switching to a palette mode for the run.
QString CAnimationPage::colorModeText(int bitsPerPixel) {
    if (bitsPerPixel < 8)
        return "The system has detected that you are running in less than 256 color mode, color "
               "animation will be not be used.";
    if (bitsPerPixel == 8)
        return "The system has detected that you are running in 256 color mode, and the amount of "
               "color animation will be controlled by the slider below.";
    return "Quorvane has detected that you are running in High Color or True Color mode, so color "
           "animation can be used. How often it is used is controlled by the slider below. If "
           "Quorvane does not work correctly, disable the use of animation below.";
}

bool CAnimationPage::animationPossible(int bitsPerPixel) { return bitsPerPixel >= 8; }

CAnimationPage::CAnimationPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, parent) {
    auto* mode = new QLabel(colorModeText(services.bitsPerPixel), this);
    mode->setObjectName("colorMode");
    mode->setWordWrap(true);
    mode->setFrameShape(QFrame::StyledPanel);
    mode->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_useAnimation = new QCheckBox("&Use color animation", this);
    m_useAnimation->setObjectName("UseAnimation");
    addToolTip(m_useAnimation, "Select this to animate the colors");
    m_animatePause = new QCheckBox("Animate during &pause", this);
    m_animatePause->setObjectName("AnimatePause");
    addToolTip(m_animatePause, "Animate during the pause between images if you have selected a pause");
    watch(m_useAnimation);
    watch(m_animatePause);

    auto* grid = new QGridLayout;
    addSlider(grid, 0, 0,
              QV_SLIDER_ROW("&How often to &animate the colors:", Animation, animation, setAnimation, 0, 100,
                            10, "Slide completely to the left to turn animation off"));
    addSlider(grid, 1, 0,
              QV_SLIDER_ROW("How quickly to &animate the colors:", AnimationSpeed, animationSpeed,
                            setAnimationSpeed, 0, 500, 50, "How quickly the colors should pulsate"));
    addSlider(grid, 2, 0,
              QV_SLIDER_ROW("Ho&w long between changing colors when animating:", Colors256Change,
                            colors256Change, setColors256Change, 0, 300, 30,
                            "How often a new palette of colors will be selected when in 256 color "
                            "mode"));
    addSlider(grid, 3, 0,
              QV_SLIDER_ROW("Ho&w long between changing colors (Hi/True Color):", ColorsFullChange,
                            colorsFullChange, setColorsFullChange, 0, 300, 30,
                            "How often a new palette of colors will be selected when in Hi/True "
                            "Color mode"));

    const bool possible = animationPossible(services.bitsPerPixel);
    m_useAnimation->setEnabled(possible);
    m_animatePause->setEnabled(possible);
    for (const auto& row : sliders()) row.first->setEnabled(possible);

    auto* page = new QVBoxLayout(this);
    page->addWidget(mode);
    page->addWidget(m_useAnimation);
    page->addWidget(m_animatePause);
    page->addLayout(grid);
    addButtonRow(page, 1043);
    initialise();
}

void CAnimationPage::initialise() {
    CConfigPage::initialise();
    m_useAnimation->setChecked(m_settings.useAnimation());
    m_animatePause->setChecked(m_settings.animatePause());
}

void CAnimationPage::store(Settings& settings) const {
    CConfigPage::store(settings);
    settings.setUseAnimation(m_useAnimation->isChecked());
    settings.setAnimatePause(m_animatePause->isChecked());
}

bool CAnimationPage::write(Settings& settings, bool) { return settings.writeAnimation(); }
