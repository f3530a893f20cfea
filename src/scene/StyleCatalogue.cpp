#include "scene/StyleCatalogue.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include "engine/Settings.h"
#include "styles/area/BlockPaint.h"
#include "styles/area/Design.h"
#include "styles/area/Interp.h"
#include "styles/area/Offset.h"
#include "styles/area/Repaint.h"
#include "styles/area/Scroll.h"
#include "styles/area/Shrinker.h"
#include "styles/area/Sketch.h"
#include "styles/distort/Distort.h"
#include "styles/dot/Dots.h"
#include "styles/draw/Draw.h"
#include "styles/image/Bitmap.h"
#include "styles/line/Lines.h"
#include "styles/neighbourly/NeighbourlySaver.h"
#include "styles/poly/Polygons.h"
#include "styles/shape/Cookies.h"
#include "styles/text/Text.h"
#include "styles/turtle/Turtle.h"

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

// What each style draws, by code, in a sentence for the user: listed by
// --list-styles and shown beside the style's picture in the help page.
const std::array<std::pair<int, const char*>, 20> kDescriptions = {{
    {1, "Fills the area with a computed pattern, such as a fractal, point by point."},
    {15, "Replaces each area with a cloudy plasma grown from the colours at its corners."},
    {0, "Draws streams of line segments (grids, spirals, spirograph curves, random walks) with "
        "rotational symmetry."},
    {12, "Moves and turns a wire figure a little every frame, so that its traces pile up."},
    {16, "Draws nested figures joined by chords, spokes and bulbs into the squares of a checkerboard."},
    {17, "Invents a small L-system and draws the path its turtle walks with a brush."},
    {19, "Composes flat overlapping shapes: circles, stars, crescents, blobs, spirals and more."},
    {2, "Scatters small figures over the screen with rotational symmetry."},
    {3, "Reworks the picture on the screen by mirroring, swirling, zooming, waving, smearing or "
        "relighting it."},
    {6, "Copies shrunken blocks of the picture on the screen back into it."},
    {8, "Repaints each area as a smooth blend of a coarse grid of samples of its own picture."},
    {9, "Shifts a random rectangle of the screen again and again."},
    {7, "Repaints each area with scattered dots in colours taken from its own picture."},
    {20, "Covers each area with rectangles or ellipses grown over regions of similar colour."},
    {18, "Retraces the picture row by row as strokes over runs of similar colour."},
    {4, "Recolours the picture on the screen dot by dot."},
    {14, "Runs an image filter over the picture on the screen: blur, mode filter, sharpening, a "
         "random convolution or edge inking."},
    {11, "Draws one 3D figure facet by facet (a cube, cone, sphere, pawn, lathe shape or frame), "
         "lit and in perspective."},
    {5, "Writes a short text in a random font: one of your messages, the date and time, a "
        "character or a statistic."},
    {13, "Shows one of your own JPEG or BMP pictures at a random place."},
}};

// The styles built so far. Each style class adds its line here, e.g.
//     {0, "Lines", makeSaver<Lines>},
// and its catalogue rows then take part in the choice.
const std::vector<StyleMaker> kMakers = {
    {0, "Lines", makeSaver<Lines>},
    {1, "Design", makeSaver<Design>},
    {2, "Dots", makeSaver<Dots>},
    {3, "Distort", makeSaver<Distort>},
    {4, "Offset", makeSaver<Offset>},
    {5, "Text", makeSaver<Text>},
    {6, "Shrinker", makeSaver<Shrinker>},
    {7, "Repaint", makeSaver<Repaint>},
    {8, "Interp", makeSaver<Interp>},
    {9, "Scroll", makeSaver<Scroll>},
    {11, "PolygonsStatic", makeSaver<PolygonsStatic>},
    {12, "PolygonsMoving", makeSaver<PolygonsMoving>},
    {13, "Bitmap", makeSaver<Bitmap>},
    {14, "Blur", makeSaver<Blur>},
    {15, "Plasma", makeSaver<Plasma>},
    {16, "Draw", makeSaver<Draw>},
    {17, "Turtle", makeSaver<Turtle>},
    {18, "Sketch", makeSaver<Sketch>},
    {19, "Cookies", makeSaver<Cookies>},
    {20, "BlockPaint", makeSaver<BlockPaint>},
};

std::span<const StyleMaker> gMakers = kMakers;
// The codes --style allows; empty for every code.
std::vector<int> gAllowed;

// Held back during the first five drawings: the styles that rework the
// picture on the screen, and the two 3D styles.
constexpr int kNeedPicture[] = {3, 4, 7, 20, 8, 14, 18, 11, 12};
// The styles that rework what is on the screen: Distort, Offset, Shrinker,
// Repaint, Interp, Scroll, Sketch, Blur and BlockPaint.
constexpr int kReworkScreen[] = {3, 4, 6, 7, 8, 9, 14, 18, 20};
constexpr int kBitmapCode = 13;
constexpr int kLinesCode = 0;
// The pattern fill: it covers its cell point by point.
constexpr int kDesignCode = 1;
constexpr int kEarlyDrawings = 5;
// The pictures for the reworking styles painted one after another while
// the screen stays flat; then a reworking style has its turn even so.
constexpr int kPicturesInARow = 4;

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

std::span<const StyleMaker> styleMakers() { return gMakers; }

std::vector<StyleListing> styleListing() {
    std::vector<StyleListing> listing;
    for (const StyleRow& row : kRows) {
        const bool listed = std::any_of(listing.begin(), listing.end(),
                                        [&](const StyleListing& l) { return l.code == row.code; });
        const bool built = std::any_of(gMakers.begin(), gMakers.end(),
                                       [&](const StyleMaker& m) { return m.code == row.code; });
        if (listed || !built) continue;
        const char* description = "";
        for (const auto& [code, text] : kDescriptions)
            if (code == row.code) description = text;
        listing.push_back({row.code, row.className, description});
    }
    return listing;
}

const StyleMaker* styleMaker(int code, bool anyStyle) {
    const StyleMaker* lines = nullptr;
    const StyleMaker* allowed = nullptr;
    for (const StyleMaker& m : gMakers) {
        if (m.code == code && (anyStyle || styleAllowed(code))) return &m;
        if (m.code == kLinesCode && styleAllowed(m.code)) lines = &m;
        if (!allowed && styleAllowed(m.code)) allowed = &m;
    }
    if (lines) return lines;
    if (allowed) return allowed;
    return gMakers.empty() ? nullptr : &gMakers.front();
}

bool restrictStyles(const std::vector<std::string>& names, std::string& error) {
    const auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::vector<int> codes;
    for (const std::string& name : names) {
        const auto m = std::find_if(gMakers.begin(), gMakers.end(), [&](const StyleMaker& maker) {
            return lower(maker.className) == lower(name);
        });
        if (m == gMakers.end()) {
            error = "unknown style '" + name + "'; the styles there are:";
            for (const StyleMaker& maker : gMakers) error += std::string(" ") + maker.className;
            return false;
        }
        codes.push_back(m->code);
    }
    gAllowed = codes;
    return true;
}

bool styleAllowed(int code) {
    return gAllowed.empty() || std::find(gAllowed.begin(), gAllowed.end(), code) != gAllowed.end();
}

bool reworksScreen(int code) {
    return std::find(std::begin(kReworkScreen), std::end(kReworkScreen), code) != std::end(kReworkScreen);
}

bool pictureFirst() {
    return !gAllowed.empty() && std::all_of(gAllowed.begin(), gAllowed.end(), reworksScreen);
}

bool paintsPicture(const StyleMoment& moment) {
    return pictureFirst() &&
           (moment.drawingCount <= 1 || (moment.flatScreen && moment.picturesInARow < kPicturesInARow));
}

bool coversFlatScreen(const StyleMoment& moment) {
    const bool built = std::any_of(gMakers.begin(), gMakers.end(),
                                   [](const StyleMaker& m) { return m.code == kDesignCode; });
    return built && moment.flatScreen && moment.drawingCount > 1 && paintsPicture(moment);
}

StyleMakersScope::StyleMakersScope(std::span<const StyleMaker> makers) : m_previous(gMakers) {
    gMakers = makers;
}

StyleMakersScope::~StyleMakersScope() { gMakers = m_previous; }

int chooseStyleCode(const ChooserSet& choosers, RandomSource& random, const StyleMoment& moment) {
    if (coversFlatScreen(moment)) return kDesignCode;
    const std::vector<int>& codes = choosers.codes(Family::Style);
    std::vector<int> excluded;
    if (moment.drawingCount <= kEarlyDrawings)
        for (int code : kNeedPicture) addIndexOf(codes, code, excluded);
    if (moment.imagePeriodRunning) addIndexOf(codes, kBitmapCode, excluded);
    if (moment.preview) addIndexOf(codes, kBitmapCode, excluded);
    if (moment.noImages) addIndexOf(codes, kBitmapCode, excluded);

    // Rows without a class yet have no share; the draws stay the same in
    // number, so adding a style changes what is drawn, never how often.
    // With only styles that rework the screen allowed, the first drawing
    // is drawn from the whole mix without them, so that they have a picture
    // to work on rather than the bare background (and the next few as well
    // while the screen stays mostly flat).
    const bool picture = paintsPicture(moment);
    std::vector<int> unbuilt;
    for (size_t i = 0; i < codes.size(); ++i) {
        bool built = false;
        for (const StyleMaker& m : gMakers) built = built || m.code == codes[i];
        // A style left out by --style counts as one not built.
        const bool left = picture ? reworksScreen(codes[i]) : !styleAllowed(codes[i]);
        if (!built || left) unbuilt.push_back(static_cast<int>(i));
    }
    const WeightedChooser chooser = choosers.chooser(Family::Style).leavingOut(unbuilt);
    return choosers.codeAt(Family::Style, chooser.choose(random, &excluded, WeightedChooser::kTries));
}
