#pragma once
// Where the line style's segments come from: a liner hands out one segment
// after another in the normalised square (-1..1 on both axes, y = -1 at the
// top) until it has no more: a grid, concentric squares, a spiral, a
// spirograph curve, a random walk, hatching across the outline, string art.
// The members are declared in LinerMembers.h; the liners that trace a figure
// around a box, for the draw commands, in LinerDrawer.h.

#include <memory>

#include "engine/FactoryContext.h"

class ChooserSet;
class Line;
class RandomSource;
class Saver;

class Liner {
public:
    // Keeps `random` for its draws (it must outlive the liner).
    explicit Liner(RandomSource& random) : m_random(random) {}
    virtual ~Liner() = default;
    Liner(const Liner&) = delete;
    Liner& operator=(const Liner&) = delete;

    // Writes the next segment's ends; false when there are no more. The
    // saver gives the outline and the pixel size, the line its width.
    virtual bool next(Saver& saver, Line& line, float& x1, float& y1, float& x2, float& y2) = 0;
    // Whether the segments may be drawn by curved lines.
    virtual bool allowsCurves() const { return false; }
    // The number of rotated copies for a drawn `count`: 1 forbids copies.
    virtual int symmetry(int count) const { return count; }
    // Whether an anchor may move the start of each segment.
    virtual bool allowsAnchor() const = 0;

protected:
    RandomSource& m_random;
};

// One choice of the liner chooser of `choosers` (null: the settings'), no
// exclusions; any index beyond the list makes a LinerNetwork. Writes the
// factory's trace line. The caller owns the result.
std::unique_ptr<Liner> CreateLiner(RandomSource& random,
                                   const FactoryContext& context = FactoryContext::current());
// The member at a chooser index, made without a draw of the chooser.
std::unique_ptr<Liner> MakeLinerKind(int index, RandomSource& random);
const char* LinerKindName(int index);
