#include "scene/ChooserTables.h"

#include "engine/Settings.h"
#include "scene/StyleCatalogue.h"

void buildChooserTables(ChooserSet& set, const Settings& s, DisplayFacts facts) {
    using Entry = ChooserSet::Entry;
    const bool tc = facts.trueColor;
    // A weight that only a true-colour display gives.
    const auto tcOnly = [tc](float w) { return tc ? w : 0.0f; };
    const auto setting = [](int v) { return static_cast<float>(v); };

    std::vector<Entry> styles;
    for (const StyleRow& row : styleCatalogue())
        if (isOffered(row, facts))
            styles.push_back({row.code, static_cast<float>((s.*row.setting)() * row.factor)});
    set.fillCoded(Family::Style, styles);

    set.fill(Family::ColorClamp, {50, 50});

    std::vector<Entry> dots = {{14, 1}, {12, 1}, {13, 10}, {2, 5}, {1, 15}, {41, 10}, {42, 300}};
    if (tc) {
        const std::vector<Entry> more = {{58, 60}, {4, 20}, {3, 15},  {10, 20}, {11, 2},  {6, 20},
                                         {15, 2},  {17, 2}, {16, 20}, {34, 30}, {35, 5},  {36, 10},
                                         {37, 30}, {39, 5}, {38, 10}, {40, 10}, {46, 10}, {47, 5},
                                         {48, 2},  {49, 1}, {50, 5},  {51, 30}, {52, 30}};
        dots.insert(dots.end(), more.begin(), more.end());
    }
    set.fillCoded(Family::Dot, dots);

    set.fillCoded(Family::DotOffset,
                  {{4, 250}, {3, 20},  {18, 50}, {7, 25},   {9, 100},  {57, 200}, {5, 30},
                   {56, 10}, {43, 10}, {24, 50}, {8, 20},   {29, 10},  {30, 10},  {31, 30},
                   {32, 10}, {33, 30}, {23, 10}, {22, 10},  {25, 100}, {27, 30},  {28, 30},
                   {26, 1},  {44, 40}, {45, 40}, {59, 100}, {53, 10},  {54, 300}, {55, 30}});

    std::vector<Entry> blts = {{19, 200}, {21, 5}};
    if (tc) blts.push_back({20, 5});
    set.fillCoded(Family::DotBlt, blts);

    set.fill(Family::ColorSelector, {80, tcOnly(60), tcOnly(20), tcOnly(20)});
    set.fill(Family::ColorAdjuster, {80, 40, 50, 40, 5, 60, 30, 30, 60});
    set.fill(Family::Distorter,
             {100, 500, tcOnly(50), 100, tcOnly(40), tcOnly(20), tcOnly(10), 80, 50,  tcOnly(50), 25, 25,
              25,  25,  50,         20,  20,         50,         100,        40, 500, 50,         25, 50});
    set.fill(Family::PointAdj, {200, 200, 50, 50, 50, 50, 50});
    set.fill(Family::Dotter, {10, 30, 50, 50, 30, 50, 50, 50, 200});
    set.fillCoded(Family::Line, {{0, 100}, {1, 100}, {2, 20}, {3, 20}, {4, 100}, {5, 150}});
    set.fillCoded(Family::LineSecond, {{0, 100}, {1, 100}, {4, 100}, {5, 150}});
    set.fill(Family::VaryWidth, {50, 50});
    set.fill(Family::VaryColor, std::vector<float>(7, 100));
    set.fill(Family::VaryRange, {50, tcOnly(50), tcOnly(50)});
    set.fillCoded(Family::PolySolid, {{0, 20},
                                      {1, 20},
                                      {2, 100},
                                      {3, 50},
                                      {4, 50},
                                      {5, 100},
                                      {6, 100},
                                      {7, 100},
                                      {8, 100},
                                      {9, 50},
                                      {13, 100},
                                      {14, 100},
                                      {15, 100}});
    set.fillCoded(Family::PolyCircle, {{10, 100}, {11, 100}, {12, 100}});
    set.fill(Family::PolyDrawer, {50, 50, 50});
    set.fill(Family::ColorMaker, {50, 50, 50});
    set.fill(Family::Range, {setting(s.layoutRect()), setting(s.layoutCircle()), setting(s.layoutTriangle()),
                             setting(s.layoutTriangle()), setting(s.layoutSlant()), setting(s.layoutWavy()),
                             setting(s.layoutWavy()), setting(s.layoutWavy())});
    set.fill(Family::Section,
             {setting(s.sectionFull()), setting(s.sectionCentred()), setting(s.sectionRandom())});
    set.fill(Family::SubRector, {setting(s.layoutFullScreen()), setting(s.layoutEven()),
                                 setting(s.layoutBar()), setting(s.layoutBar()), setting(s.layoutLimn())});
    set.fill(Family::Liner, {5, 200, 50, 20, 20, 4, 25, 4, 4, 4, 10, 4, 4, 4, 4});
    set.fill(Family::Texter,
             {setting(s.textDateTime()), setting(s.textRandom() / 2), setting(s.textChar()),
              setting(s.textRandom() / 2), s.hasMessages() ? setting(s.textMessages()) : 0.0f});
    set.fill(Family::Anchor, {100, 50, 15, 30});
    set.fillCoded(Family::Neighbourly, {{0, 30}, {1, 30}, {2, 30}, {3, 30}, {4, 5}, {5, 5}, {6, 5}});
    set.fill(Family::DrawCommand, {40, 40, 40, 10, 10, 40});
    set.fill(Family::LinerDrawer, {30, 20, 50, 20, 30, 30, 20, 20, 0, 0, 0, 0, 0, 0, 0});
    set.fill(Family::BoolMap, {100, 2, 2, 2, 2, static_cast<float>(3LL * s.styleOverlappingShapes())});
    std::vector<float> schemes;
    for (int i = 0; i < Settings::kColorCount; ++i) schemes.push_back(s.color(i));
    set.fill(Family::ColorScheme, schemes);
}
