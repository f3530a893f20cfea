#include "color/VaryWidth.h"

#include <algorithm>
#include <cstdlib>

#include "engine/ChooserSet.h"
#include "engine/MathErrors.h"
#include "engine/Trace.h"

int VaryWidthByAngle::width(int maxWidth, int x1, int y1, int x2, int y2) const {
    double a;
    if (x2 != x1) {
        // In 64 bits: pixel differences of far-apart points do not overflow.
        const double d = static_cast<double>(std::llabs(int64_t{x2} - x1));
        if (y2 <= y1)
            a = 0.5 / ((static_cast<double>(y1) - y2) / d + 1.0);
        else
            a = 1.0 - 0.5 / ((static_cast<double>(y2) - y1) / d + 1.0);
    } else {
        a = y2 > y1 ? 1.0 : 0.0;
    }
    return qvmath::truncSaturated(std::max(static_cast<float>(maxWidth * (2.5 * a + 0.5)), 1.0f));
}

std::unique_ptr<VaryWidth> CreateVaryWidth(RandomSource& random, const FactoryContext& context) {
    const ChooserSet& choosers = context.choosers;
    const int index = choosers.chooser(Family::VaryWidth).choose(random);
    std::unique_ptr<VaryWidth> pVaryWidth;
    const char* name = "VaryWidthNone";
    if (index == 1) {
        pVaryWidth = std::make_unique<VaryWidthByAngle>();
        name = "VaryWidthByAngle";
    } else {
        pVaryWidth = std::make_unique<VaryWidthNone>();
    }
    traceMade("VaryWidth", 35, "(typeid(*pVaryWidth).name())", name);
    return pVaryWidth;
}
