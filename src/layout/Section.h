#pragma once
// The part of the screen a layout covers: the whole screen, a centred part
// or a random part. Made, placed once and deleted by the layout.

#include <memory>
#include "engine/FactoryContext.h"

class ChooserSet;
class RandomSource;

class Section {
public:
    explicit Section(RandomSource* random) : m_pRandom(random) {}
    virtual ~Section() = default;
    Section(const Section&) = delete;
    Section& operator=(const Section&) = delete;

    // The rectangle inside a width x height screen; never wider or higher
    // than the screen, never negative.
    virtual void place(int width, int height, int& left, int& top, int& w, int& h) = 0;

protected:
    RandomSource* m_pRandom;  // not owned
};

class SectionFull : public Section {
public:
    using Section::Section;
    void place(int width, int height, int& left, int& top, int& w, int& h) override;
};

class SectionCentred : public Section {
public:
    using Section::Section;
    void place(int width, int height, int& left, int& top, int& w, int& h) override;
};

class SectionRandom : public Section {
public:
    using Section::Section;
    void place(int width, int height, int& left, int& top, int& w, int& h) override;
};

// One choice of the section chooser of `choosers` with `random` (which the
// section keeps for placing); writes the factory's trace line.
std::unique_ptr<Section> CreateSection(RandomSource& random, const FactoryContext& context);
