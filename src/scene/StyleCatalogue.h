#pragma once
// The catalogue of drawing styles: each style's code, class name, the
// setting that weights it with its factor, and the displays and modes in
// which it is offered. The rows are in the order of the style chooser.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/ChooserSet.h"

class StyleScene;
class RandomSource;
class Saver;
class Settings;

enum class StylePresence {
    Always,
    TrueColor,            // displays of more than 8 bits per pixel
    FullScreenTrueColor,  // the full-screen saver on such a display
    FullScreenPalette,    // the full-screen saver on a palette display
    FullScreen,           // the full-screen saver
};

struct StyleRow {
    int code;
    const char* className;
    int (Settings::*setting)() const;
    double factor;
    StylePresence presence;
};

std::span<const StyleRow> styleCatalogue();
bool isOffered(const StyleRow& row, DisplayFacts facts);
// The class name of a style code; codes outside the table draw lines.
const char* styleClassName(int code);

// The style classes that can be built, by code. A catalogue row whose code
// has no maker is left out of the choice (its share goes to the others), so
// that a style joins the program by adding one line to the table of makers.
struct StyleMaker {
    int code;
    const char* className;
    std::unique_ptr<Saver> (*make)(StyleScene* scene);
};

// The maker of a style class, for the table: {0, "Lines", makeSaver<Lines>}.
template <class T>
std::unique_ptr<Saver> makeSaver(StyleScene* scene) {
    return std::make_unique<T>(scene);
}

std::span<const StyleMaker> styleMakers();

// A built style as the user sees it listed: its code, class name and one
// sentence on what it draws.
struct StyleListing {
    int code;
    const char* className;
    const char* description;
};

// Every built style once, in the order of its first catalogue row.
std::vector<StyleListing> styleListing();
// The maker of a code; for a code without one, that of `Lines`, else the
// first maker there is. Null only when no style can be built at all. A code
// --style leaves out is built only when `anyStyle` is set.
const StyleMaker* styleMaker(int code, bool anyStyle = false);

// Draws only with the named styles (class names, in any case): the others
// are left out of the choice as a style without a class is. An empty list
// lifts the restriction. False, with `error` one line naming the styles
// there are, when a name is not that of a built style; nothing changes then.
bool restrictStyles(const std::vector<std::string>& names, std::string& error);
// Whether the restriction lets a style code be drawn.
bool styleAllowed(int code);
// The styles that rework the picture on the screen and make none of their own.
bool reworksScreen(int code);
// True when --style allows only such styles: the first drawing of a run then
// paints a picture for them, chosen from the whole mix but them.
bool pictureFirst();

// Replaces the table of makers while it lives (tests draw with styles of
// their own); the table must outlive the scope.
class StyleMakersScope {
public:
    explicit StyleMakersScope(std::span<const StyleMaker> makers);
    ~StyleMakersScope();
    StyleMakersScope(const StyleMakersScope&) = delete;
    StyleMakersScope& operator=(const StyleMakersScope&) = delete;

private:
    std::span<const StyleMaker> m_previous;
};

// What the choice of the next style depends on besides the tables.
struct StyleMoment {
    int drawingCount = 1;             // drawings counted so far, this one included
    bool imagePeriodRunning = false;  // fewer than ImagePeriod seconds since the last image
    bool preview = false;             // the preview mode
    bool noImages = false;            // the list of image files is empty
    bool flatScreen = false;          // the screen is still mostly one colour, or a few
    int picturesInARow = 0;           // drawings just before this one that were such pictures
};

// Whether this drawing is a picture for the styles that rework the screen
// to work on: with pictureFirst(), the first drawing, and any later one
// that finds the screen mostly flat (the pictures so far left it so, or a
// reworking drawing flattened it), up to a few pictures in a row.
bool paintsPicture(const StyleMoment& moment);
// Whether this drawing is such a picture painted because the ones before
// left the screen flat: it is then a pattern fill over one cell of the
// whole screen, since a picture from the mix, drawn in the layout of the one
// before, is often again a small figure or a text on the same plain ground.
bool coversFlatScreen(const StyleMoment& moment);

// The code of the next style: the styles that need a picture to work on
// and the 3D styles are held back during the first five drawings, the image
// style while its period runs, in the preview and without images. A code
// held back is refused nine times; the tenth draw is taken as it falls.
// The drawing of a run restricted to styles that rework the screen that
// paints them a picture (paintsPicture()) is one of the other styles, and
// the pattern fill without a draw when coversFlatScreen().
int chooseStyleCode(const ChooserSet& choosers, RandomSource& random, const StyleMoment& moment);
