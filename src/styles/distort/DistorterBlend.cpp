// Mirrors and smears: members that read the copy at a mirrored or randomly
// scattered position, or mix a few of its pixels.

#include "engine/RandomSource.h"
#include "layout/SubRect.h"
#include "styles/distort/DistorterMembers.h"

namespace {

// Channel by channel, the sum of four pixels shifted right by two.
Color& meanOfFour(Color& color, COLORREF a, COLORREF b, COLORREF c, COLORREF d) {
    const auto mean = [&](int shift) {
        return static_cast<int>(((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) +
                                ((d >> shift) & 0xFF)) >>
               2;
    };
    color.set(mean(0), mean(8), mean(16));
    return color;
}

}  // namespace

Color& DistorterFlipLR::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    return take(color, copy.pixel(subRect.width() - 1 - x, y));
}

Color& DistorterFlipTB::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    return take(color, copy.pixel(x, subRect.height() - 1 - y));
}

DistorterBlend::DistorterBlend(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_iSpreadX = random.below(16) + 1;
    m_iSpreadY = random.below(16) + 1;
}

Color& DistorterBlend::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    const double sx = m_pRandom->signedUniform();
    const double sy = m_pRandom->signedUniform();
    const int px = clampTo(sx * m_iSpreadX + x, subRect.width());
    const int py = clampTo(sy * m_iSpreadY + y, subRect.height());
    return take(color, copy.pixel(px, py));
}

DistorterBlurBlend::DistorterBlurBlend(RandomSource& random, const DistorterSetting& setting)
    : Distorter(random, setting) {
    m_iMaxR = random.below(16) + 1;
}

Color& DistorterBlurBlend::map(Color& color, int x, int y, const SubRect&, const DistorterCopy& copy) {
    // pixel() holds each corner inside the copy.
    const int d = m_pRandom->below(m_iMaxR);
    return meanOfFour(color, copy.pixel(x - d, y - d), copy.pixel(x + d, y - d), copy.pixel(x + d, y + d),
                      copy.pixel(x - d, y + d));
}

Color& DistorterDrip::map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) {
    return meanOfFour(color, copy.pixel(0, y), copy.pixel(x, 0), copy.pixel(subRect.width() - 1, y),
                      copy.pixel(x, subRect.height() - 1));
}
