#pragma once
// The catalogue of drawing styles: each style's code, class name, the
// setting that weights it with its factor, and the displays and modes in
// which it is offered. The rows are in the order of the style chooser.

#include <span>

#include "engine/ChooserSet.h"

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
