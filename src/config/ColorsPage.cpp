#include <QLabel>
#include <QVBoxLayout>

#include "config/ConfigPages.h"

CColorsPage::CColorsPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, *sheet::page("Colors"), parent) {
    // Under the samples, where a palette display shows them only roughly.
    auto* noteLabel = new QLabel(kSampleNote, this);
    noteLabel->setObjectName("sampleNote");
    noteLabel->setWordWrap(true);
    noteLabel->setVisible(services.bitsPerPixel <= 8);
    body()->insertWidget(blockEnd(0), noteLabel);
    initialise();
}
