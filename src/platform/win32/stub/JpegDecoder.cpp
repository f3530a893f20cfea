// Stand-in for the Windows JPEG decoder until the Imaging Component version
// exists: every JPEG is refused, as a file that cannot be read is.

#include "platform/JpegDecoder.h"

namespace platform {

bool decodeJpeg(const std::string&, const JpegRequest& request) {
    if (request.trace) request.trace("JPEG pictures cannot be read in this build");
    return false;
}

}  // namespace platform
