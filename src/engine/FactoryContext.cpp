#include "engine/FactoryContext.h"

#include "engine/Settings.h"

const ChooserSet& FactoryContext::noChoosers() {
    static const ChooserSet kEmpty;
    return kEmpty;
}

FactoryContext FactoryContext::current() {
    Scene& now = ::scene();
    const Settings* settings = now.settings();
    return {settings ? settings->choosers() : noChoosers(), now};
}
