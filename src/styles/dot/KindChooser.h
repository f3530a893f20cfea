#pragma once
// Drawing a member kind of a figure family from the choosers a setting
// carries.

#include <vector>

#include "engine/ChooserSet.h"

class RandomSource;
struct DotSetting;

// The setting's choosers, or an empty set when it carries none.
const ChooserSet& ChoosersOf(const DotSetting& setting);

// The kind number the family's chooser draws, the excluded kinds redrawn.
int ChooseKind(RandomSource& random, Family family, const std::vector<int>& excluded,
               const DotSetting& setting);
