#pragma once
// The weights of the random composition: every chooser and code list of the
// chooser set, filled from constants, the settings record and the styles the
// display offers.

#include "engine/ChooserSet.h"

class Settings;

// Fills every chooser and code list of `set` from scratch.
void buildChooserTables(ChooserSet& set, const Settings& settings, DisplayFacts facts);
