#include "engine/MathErrors.h"

#include "engine/Trace.h"

namespace qvmath {

namespace {

long gErrors = 0;

}  // namespace

double reportError(MathError type, const char* name) {
    ++gErrors;
    trace("%s line %d : except->type = %d", "Saver", 473, static_cast<int>(type));
    trace("%s line %d : except->name = %s", "Saver", 474, name);
    return 0.0;
}

long errorCount() { return gErrors; }

}  // namespace qvmath
