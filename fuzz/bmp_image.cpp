// Bitmap files as the image style reads them: the bytes become a file, the
// reader decodes it for a small screen, and a picture it accepts is drawn
// through the DIB transfer onto 32- and 8-bit surfaces (whole, across the
// edges) and sampled for its palette.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "platform/DC.h"
#include "styles/image/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ImageBMP image(inputFile(data, size, "input.bmp"), {96, 64});
    if (!image.IsValid()) return 0;
    if (image.Width() <= 0 || image.Width() > 96 || image.Height() <= 0 || image.Height() > 64) std::abort();

    CPalette& palette = realisedPalette();
    CSurface rgb(40, 30, 32), indexed(33, 21, 8);
    CDC rgbDc(&rgb), indexedDc(&indexed);
    indexedDc.SelectPalette(&palette);
    indexedDc.RealizePalette();
    for (CDC* dc : {&rgbDc, &indexedDc}) {
        image.Paint(*dc, 0, 0);
        image.Paint(*dc, -image.Width() / 2, 7);
        image.Paint(*dc, 30, -3);
    }
    for (const int colors : {236, 256, 24}) {
        const auto bands = imageBands(image, colors);
        if (!bands.empty() && bands.size() != static_cast<size_t>(colors)) std::abort();
    }
    return 0;
}
