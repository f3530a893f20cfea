#pragma once
// The font of the text style: its size from the widest drawing cell, and a
// face, weight and slant drawn at random.

#include "engine/RandomSource.h"
#include "platform/Font.h"

// The size in points: 36 for a cell as wide as the scene, in proportion
// below that, never under 8. Widths under 1 count as 1.
int fontSizeFor(int maxSubRectWidth, int sceneWidth);
// The character height (negative, as a font description wants it) of `size`
// on a device with `logPixelsY` pixels per vertical inch.
int fontHeightFor(int size, int logPixelsY);

// The face ("Times New Roman", "Arial" or "Courier New"), then the weight
// (normal or bold), then the slant, drawn in that order from `random`; the
// description has character height `height`.
LOGFONT textFontFor(int height, RandomSource& random);
