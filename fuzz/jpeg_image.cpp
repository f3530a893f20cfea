// JPEG files as the image style reads them: the bytes become a file and the
// reader decodes it, scaled for a small screen; an accepted picture is
// drawn and sampled for its palette.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "platform/DC.h"
#include "styles/image/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ImageJPEG image(inputFile(data, size, "input.jpg"), {160, 120});
    if (!image.IsValid()) return 0;
    if (image.Width() > 160 || image.Height() > 120) std::abort();
    CSurface rgb(64, 48, 32);
    CDC dc(&rgb);
    image.Paint(dc, 3, -5);
    if (imageBands(image, 256).size() != (image.Width() > 4 && image.Height() > 4 ? 256u : 0u)) std::abort();
    return 0;
}
