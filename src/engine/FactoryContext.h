#pragma once
// What every factory makes its member with: the choosers of the random
// composition and the scene the member will draw in.

#include "engine/ChooserSet.h"
#include "engine/Scene.h"

struct FactoryContext {
    // The given choosers in the current scene: a test's own chooser set, or
    // a style's set passed on as it is.
    FactoryContext(const ChooserSet& set) : choosers(set), scene(::scene()) {}  // NOLINT: implicit on purpose
    FactoryContext(const ChooserSet& set, Scene& in) : choosers(set), scene(in) {}

    // The settings' choosers in the current scene; before the settings are
    // read, a chooser set with every table empty (each factory then makes
    // its first member).
    static FactoryContext current();
    // That empty chooser set: a family with defaults of its own uses them
    // instead.
    static const ChooserSet& noChoosers();

    const ChooserSet& choosers;
    Scene& scene;
};
