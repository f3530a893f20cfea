#include <QLabel>
#include <QVBoxLayout>

#include "config/ConfigPages.h"

QString CAnimationPage::colorModeText(int bitsPerPixel) {
    return QString::fromStdString(sheet::colorModeText(bitsPerPixel));
}

CAnimationPage::CAnimationPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("Animation"), parent) {
    auto* mode = new QLabel(colorModeText(services.bitsPerPixel), this);
    mode->setObjectName("colorMode");
    mode->setWordWrap(true);
    mode->setFrameShape(QFrame::StyledPanel);
    mode->setTextInteractionFlags(Qt::TextSelectableByMouse);
    body()->insertWidget(0, mode);
    initialise();
}
