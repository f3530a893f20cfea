// The shape painting of PatternLimn. The shape painters are not part of the
// program yet: until they are, the grid keeps the values it was filled with
// and no painter is kept.
#include "Patterns/PatternCalculator.h"

void PatternLimn::paintShape(IndexGrid&, int32_t, int32_t) {}

void PatternLimn::releaseShapes() { m_pShapes = nullptr; }
