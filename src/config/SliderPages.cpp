// The pages made of sliders alone: text kinds, layout and outline. (The
// styles page, with its samples, is beside them.)

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/ConfigPages.h"

CSliderPage::CSliderPage(Settings& settings, const ConfigServices& services, const QString& caption,
                         const std::vector<SliderRow>& rows, const Preset* preset, int resetId,
                         bool (Settings::*writeGroup)(), QWidget* parent)
    : CConfigPage(settings, services, parent), m_caption(caption), m_writeGroup(writeGroup) {
    auto* grid = new QGridLayout;
    for (size_t i = 0; i < rows.size(); ++i) addSlider(grid, static_cast<int>(i), 0, rows[i]);
    QPushButton* chaos = nullptr;
    if (preset) {
        chaos = makeButton(kReduceChaosText, "reduceChaos", preset->toolTip);
        connect(chaos, &QPushButton::clicked, this, [this, p = *preset] { applyPreset(p); });
    }
    auto* page = new QVBoxLayout(this);
    page->addLayout(grid);
    addButtonRow(page, resetId, chaos);
    initialise();
}

bool CSliderPage::write(Settings& settings, bool) { return (settings.*m_writeGroup)(); }

CTextPage::CTextPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CSliderPage(settings, services, "Text",
                  {QV_SLIDER_ROW("&Messages:", TextMessages, textMessages, setTextMessages, 0, 100, 10,
                                 "Shows the messages you have entered on the next page"),
                   QV_SLIDER_ROW("&Date and time:", TextDateTime, textDateTime, setTextDateTime, 0, 100, 10,
                                 "Shows the current date and time"),
                   QV_SLIDER_ROW("A random &character:", TextChar, textChar, setTextChar, 0, 100, 10,
                                 "Shows just a single random characater"),
                   QV_SLIDER_ROW("S&tatistics:", TextRandom, textRandom, setTextRandom, 0, 100, 10,
                                 "Uses internal statistics, eg number of drawings done, time running"),
                   QV_SLIDER_ROW("Mis&spelling:", QuorSpel, quorSpel, setQuorSpel, 0, 100, 10,
                                 "Uses an unspell-checker to add speling erorrs to yor nessages")},
                  nullptr, 1043, &Settings::writeText, parent) {}

namespace {

const Preset kLayoutPreset{"Selects full screen drawing with sub-area evenly spread",
                           {{"SectionFull", 100},
                            {"SectionCentred", 0},
                            {"SectionRandom", 0},
                            {"LayoutFullScreen", 100},
                            {"LayoutEven", 100},
                            {"LayoutBar", 0},
                            {"LayoutLimn", 0}}};

const Preset kOutlinePreset{"Selects a rectangular area, with full symmetry",
                            {{"LayoutRect", 100},
                             {"LayoutCircle", 0},
                             {"LayoutTriangle", 0},
                             {"LayoutSlant", 0},
                             {"LayoutWavy", 0},
                             {"LayoutShrinkRandom", 0},
                             {"LayoutShrinkEven", 0},
                             {"LayoutCheckered", 0},
                             {"LayoutSymmetric", 100}}};

}  // namespace

CLayoutPage::CLayoutPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CSliderPage(
          settings, services, "Layout",
          {QV_SLIDER_ROW("&Full screen area:", SectionFull, sectionFull, setSectionFull, 0, 100, 10,
                         "A drawing area that covers the whole screen"),
           QV_SLIDER_ROW("&Centred area:", SectionCentred, sectionCentred, setSectionCentred, 0, 100, 10,
                         "A smaller section of the screen is covered, but the section is centered"),
           QV_SLIDER_ROW("&Random area:", SectionRandom, sectionRandom, setSectionRandom, 0, 100, 10,
                         "A smaller section of the screen is selected at random"),
           QV_SLIDER_ROW("&One drawing area:", LayoutFullScreen, layoutFullScreen, setLayoutFullScreen, 0,
                         100, 10, "A drawing area that covers the whole screen"),
           QV_SLIDER_ROW("&Even areas:", LayoutEven, layoutEven, setLayoutEven, 0, 100, 10,
                         "A series of smaller, evenly spaced, areas that cover the whole screen"),
           QV_SLIDER_ROW("&Bar of areas:", LayoutBar, layoutBar, setLayoutBar, 0, 100, 10,
                         "Smaller drawing areas in a narrow column or row"),
           QV_SLIDER_ROW("&Shaped areas:", LayoutLimn, layoutLimn, setLayoutLimn, 0, 100, 10,
                         "Smaller drawing areas forming a variety of shapes")},
          &kLayoutPreset, 1043, &Settings::writeLayout, parent) {}

COutlinePage::COutlinePage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CSliderPage(
          settings, services, "Outline",
          {QV_SLIDER_ROW("&Rectangle:", LayoutRect, layoutRect, setLayoutRect, 0, 100, 10,
                         "Within a drawing area, the design will fill the area"),
           QV_SLIDER_ROW("&Circle:", LayoutCircle, layoutCircle, setLayoutCircle, 0, 100, 10,
                         "Within a drawing area, the design will be restricted to a circle"),
           QV_SLIDER_ROW("&Triangle:", LayoutTriangle, layoutTriangle, setLayoutTriangle, 0, 100, 10,
                         "The design will fill the upper or lower triangular part of the area"),
           QV_SLIDER_ROW("S&lant:", LayoutSlant, layoutSlant, setLayoutSlant, 0, 100, 10,
                         "The design will fill a narrow slant across the area"),
           QV_SLIDER_ROW("&Wavy:", LayoutWavy, layoutWavy, setLayoutWavy, 0, 100, 10,
                         "The design will have wavy sides"),
           QV_SLIDER_ROW("Random s&hrink:", LayoutShrinkRandom, layoutShrinkRandom, setLayoutShrinkRandom, 0,
                         100, 10,
                         "How often the areas will be reduced in size after a drawing. The sides "
                         "will then be uneven."),
           QV_SLIDER_ROW("E&ven shrink:", LayoutShrinkEven, layoutShrinkEven, setLayoutShrinkEven, 0, 100, 10,
                         "The area will be made smaller, but centered within the previous area"),
           QV_SLIDER_ROW("Chec&kered:", LayoutCheckered, layoutCheckered, setLayoutCheckered, 0, 100, 10,
                         "Successive drawings will only use alternate areas, giving a checkered "
                         "appearance"),
           QV_SLIDER_ROW("S&ymmetric:", LayoutSymmetric, layoutSymmetric, setLayoutSymmetric, 0, 100, 10,
                         "Adjacent areas will be mirrored, giving a more seamless appearance")},
          &kOutlinePreset, 1043, &Settings::writeOutline, parent) {}
