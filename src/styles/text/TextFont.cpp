#include "styles/text/TextFont.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kMinSize = 8;
constexpr int kMaxSize = 36;
// Output and clip precision by characters.
constexpr BYTE kOutCharacterPrecision = 2;
constexpr BYTE kClipCharacterPrecision = 1;

constexpr const char* kFaces[] = {"Times New Roman", "Arial", "Courier New"};

}  // namespace

int fontSizeFor(int maxSubRectWidth, int sceneWidth) {
    // A scene with no width leaves nothing to compare with: the largest size.
    if (sceneWidth < 1) return kMaxSize;
    const int64_t width = std::max(maxSubRectWidth, 1);
    const int64_t size = width * kMaxSize / sceneWidth;
    return static_cast<int>(std::clamp<int64_t>(size, kMinSize, kMaxSize));
}

int fontHeightFor(int size, int logPixelsY) { return -static_cast<int>(int64_t{logPixelsY} * size / 60); }

LOGFONT textFontFor(int height, RandomSource& random) {
    LOGFONT font;
    const char* face = kFaces[random.below(3)];
    font.lfHeight = height;
    font.lfWeight = random.below(2) != 0 ? FW_NORMAL : FW_BOLD;
    font.lfItalic = random.below(2) != 0 ? 1 : 0;
    font.lfOutPrecision = kOutCharacterPrecision;
    font.lfClipPrecision = kClipCharacterPrecision;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}
