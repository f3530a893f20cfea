#include "engine/StyleCatalogue.h"

#include <array>

#include "app/Settings.h"

namespace {

using P = StylePresence;

const std::array<StyleRow, 24> kRows = {{
    {1, "Design", &Settings::styleSolid, 0.95, P::Always},
    {15, "Plasma", &Settings::styleSolid, 0.05, P::Always},
    {0, "Lines", &Settings::styleLines, 0.4, P::Always},
    {12, "PolygonsMoving", &Settings::styleLines, 0.01, P::Always},
    {16, "Draw", &Settings::styleLines, 0.44, P::TrueColor},
    {17, "Turtle", &Settings::styleLines, 0.15, P::TrueColor},
    {19, "Cookies", &Settings::styleOverlappingShapes, 0.4, P::TrueColor},
    {2, "Dots", &Settings::styleDots, 1.0, P::Always},
    {3, "Distort", &Settings::styleDistort, 0.08, P::FullScreenTrueColor},
    {6, "Shrinker", &Settings::styleDistort, 0.055, P::FullScreenTrueColor},
    {8, "Interp", &Settings::styleDistort, 0.1, P::FullScreenTrueColor},
    {9, "Scroll", &Settings::styleDistort, 0.25, P::FullScreenTrueColor},
    {7, "Repaint", &Settings::styleDistort, 0.055, P::FullScreenTrueColor},
    {20, "BlockPaint", &Settings::styleDistort, 0.005, P::FullScreenTrueColor},
    {18, "Sketch", &Settings::styleDistort, 0.005, P::FullScreenTrueColor},
    {4, "Offset", &Settings::styleDistort, 0.4, P::FullScreenTrueColor},
    {14, "Blur", &Settings::styleDistort, 0.05, P::FullScreenTrueColor},
    {3, "Distort", &Settings::styleDistort, 0.3, P::FullScreenPalette},
    {6, "Shrinker", &Settings::styleDistort, 0.2, P::FullScreenPalette},
    {8, "Interp", &Settings::styleDistort, 0.3, P::FullScreenPalette},
    {9, "Scroll", &Settings::styleDistort, 0.2, P::FullScreenPalette},
    {11, "PolygonsStatic", &Settings::style3D, 1.0, P::Always},
    {5, "Text", &Settings::styleText, 1.0, P::Always},
    {13, "Bitmap", &Settings::styleBitmap, 1.0, P::FullScreen},
}};

}  // namespace

std::span<const StyleRow> styleCatalogue() { return kRows; }

bool isOffered(const StyleRow& row, DisplayFacts facts) {
    switch (row.presence) {
        case P::Always:
            return true;
        case P::TrueColor:
            return facts.trueColor;
        case P::FullScreenTrueColor:
            return facts.fullScreen && facts.trueColor;
        case P::FullScreenPalette:
            return facts.fullScreen && !facts.trueColor;
        case P::FullScreen:
            return facts.fullScreen;
    }
    return false;
}

const char* styleClassName(int code) {
    for (const StyleRow& row : kRows)
        if (row.code == code) return row.className;
    return "Lines";
}
