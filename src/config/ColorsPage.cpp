#include <QColor>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "config/ConfigPages.h"

namespace {

constexpr int kRows = Settings::kColorCount / 2;

// On a palette display the samples are only approximate, so the tips say
// which colour each slider really stands for.
const char* const kPaletteTips[Settings::kColorCount] = {"Slide to the right to use more of this color",
                                                         "Actually orange",
                                                         "Yellow",
                                                         "Lime green",
                                                         "Bright green",
                                                         "Actually light green",
                                                         "Cyan",
                                                         "Blue",
                                                         "Bright blue",
                                                         "Violet",
                                                         "Magenta",
                                                         "Slightly bluish red"};
const char* const kKeys[Settings::kColorCount] = {"Color0", "Color1", "Color2",  "Color3",
                                                  "Color4", "Color5", "Color6",  "Color7",
                                                  "Color8", "Color9", "Color10", "Color11"};
constexpr const char* kTrueColorTip = "Slide to the right to use more of this color";

// A stored weight as a slider position; out-of-range floats saturate.
int weightOf(float w) {
    if (!std::isfinite(w)) return 0;
    return static_cast<int>(std::clamp(w, -1.0e9f, 1.0e9f));
}

// The hue a colour weight chooses: one twelfth of the circle each.
QLabel* sample(int i, QWidget* parent) {
    QPixmap swatch(28, 16);
    swatch.fill(QColor::fromHslF(static_cast<float>(i) / Settings::kColorCount, 1.0f, 0.5f));
    auto* label = new QLabel(parent);
    label->setPixmap(swatch);
    label->setObjectName(QString("sample%1").arg(i));
    return label;
}

}  // namespace

CColorsPage::CColorsPage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CConfigPage(settings, services, parent) {
    const bool palette = services.bitsPerPixel <= 8;
    auto* hues = new QGridLayout;
    for (int i = 0; i < Settings::kColorCount; ++i) {
        const int row = i % kRows, column = (i / kRows) * 3;
        hues->addWidget(sample(i, this), row, column);
        addSlider(hues, row, column,
                  SliderRow{QString(), kKeys[i], 0, 100, 10, palette ? kPaletteTips[i] : kTrueColorTip,
                            weightOf(Settings::defaultColor(i)),
                            [i](const Settings& s) { return weightOf(s.color(i)); },
                            [i](Settings& s, int v) { s.setColor(i, static_cast<float>(v)); }});
    }
    auto* noteLabel = new QLabel(kSampleNote, this);
    noteLabel->setObjectName("sampleNote");
    noteLabel->setVisible(palette);

    auto* bands = new QGridLayout;
    addSlider(bands, 0, 0,
              QV_SLIDER_ROW("&Black bands:", UseBlack, useBlack, setUseBlack, 0, 100, 10,
                            "Slide to the right to add black bands more often"));
    addSlider(bands, 1, 0,
              QV_SLIDER_ROW("&Highlights:", UseWhite, useWhite, setUseWhite, 0, 100, 10,
                            "Slide to the right to add bright highlights more often"));

    auto* page = new QVBoxLayout(this);
    page->addLayout(hues);
    page->addWidget(noteLabel);
    page->addLayout(bands);
    addButtonRow(page, 1043);
    initialise();
}

bool CColorsPage::write(Settings& settings, bool) { return settings.writeColors(); }
