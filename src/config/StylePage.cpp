#include "config/ConfigPages.h"

namespace {

// A calm choice: solid designs, drawn a point at a time. The images keep
// their weight: they are the user's own.
const Preset kStylePreset{"Selects solid designs using a single pixel",
                          {{"StyleSolid", 100},
                           {"StyleDots", 0},
                           {"StyleLines", 0},
                           {"StyleDistort", 0},
                           {"StyleText", 0},
                           {"Style3D", 0},
                           {"StyleOverlappingShapes", 0},
                           {"SingleDot", 100}}};

}  // namespace

CStylePage::CStylePage(Settings& settings, const ConfigServices& services, QWidget* parent)
    : CSliderPage(settings, services, "Styles",
                  {QV_SLIDER_ROW("&Solid designs:", StyleSolid, styleSolid, setStyleSolid, 0, 100, 10,
                                 "Designs covering an entire area, such as fractals"),
                   QV_SLIDER_ROW("&Designs made up of dots:", StyleDots, styleDots, setStyleDots, 0, 100, 10,
                                 "Patterns created by scattered dots"),
                   QV_SLIDER_ROW("Patterns made from &lines:", StyleLines, styleLines, setStyleLines, 0, 100,
                                 10, "Patterns created by drawing lines around an area"),
                   QV_SLIDER_ROW("Di&storting current display:", StyleDistort, styleDistort, setStyleDistort,
                                 0, 100, 10, "Modifying what is already in the screen"),
                   QV_SLIDER_ROW("&Images:", StyleBitmap, styleBitmap, setStyleBitmap, 0, 100, 10,
                                 "Displaying your own JPEG images"),
                   QV_SLIDER_ROW("&Text:", StyleText, styleText, setStyleText, 0, 100, 10,
                                 "Writing text, including your own messages"),
                   QV_SLIDER_ROW("&3D shapes:", Style3D, style3D, setStyle3D, 0, 100, 10,
                                 "3D shapes, such as spheres"),
                   QV_SLIDER_ROW("O&verlapping shapes:", StyleOverlappingShapes, styleOverlappingShapes,
                                 setStyleOverlappingShapes, 0, 100, 10, "Various scattered geometric shapes"),
                   QV_SLIDER_ROW("Draw designs with a single p&oint (slower, but less chaotic):", SingleDot,
                                 singleDot, setSingleDot, 0, 100, 10,
                                 "Draws slower but less messy patterns, particularly useful for the solid "
                                 "designs such as fractals")},
                  &kStylePreset, 1048, &Settings::writeStyles, parent) {}
