// JPEG files as the image style reads them: the bytes become a file and the
// reader decodes it, scaled for a small screen; an accepted picture is
// drawn and sampled for its palette.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "platform/DC.h"
#include "styles/image/Image.h"
#include "support/TempFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TempFolder folder;
    static const std::string path = (folder.path() / "input.jpg").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
    const ImageJPEG image(path, {160, 120});
    if (!image.IsValid()) return 0;
    if (image.Width() > 160 || image.Height() > 120) std::abort();
    CSurface rgb(64, 48, 32);
    CDC dc(&rgb);
    image.Paint(dc, 3, -5);
    if (imageBands(image, 256).size() != (image.Width() > 4 && image.Height() > 4 ? 256u : 0u)) std::abort();
    return 0;
}
