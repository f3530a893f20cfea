#pragma once
// The composed drawing: two lists of draw commands, each a nest of figures
// inside an invisible outline with chords, spokes, bulbs and satellites hung
// on them, painted with wet-brush strokes into the two colours of a
// checkerboard of cells (list 0 where row + column is even, list 1 where it
// is odd). It wants a layout of its own.

#include <array>
#include <memory>

#include "styles/Saver.h"
#include "styles/draw/DrawCommand.h"

class Line;
class VaryColor;

class Draw : public Saver {
public:
    explicit Draw(StyleScene* scene);
    ~Draw() override;

    void step() override;
    bool needsFreshLayout() const override { return true; }

    // Appends below(8) + 2 commands to `list`, each after the first inside
    // the size the one before left (2.0, the whole square, at first).
    static void compose(RandomSource& random, DrawCommandList& list);
    // The size of the command after `command` in a list: smaller by the
    // command's factor and offset when it changes the size, never below 0
    // (a figure of negative size would turn over).
    static float nextSize(float size, const DrawCommand& command);

    DrawCommandList& list(int p) { return m_lists[static_cast<size_t>(p & 1)]; }
    const DrawCommandList& list(int p) const { return m_lists[static_cast<size_t>(p & 1)]; }
    int pass() const { return m_iPass; }

private:
    std::unique_ptr<Line> m_pLine;
    std::array<DrawCommandList, 2> m_lists;
    std::unique_ptr<VaryColor> m_pVaryColor;
    // Where an interrupted step goes on: the pass (= the list and the
    // parity of its cells) and the command in it.
    int m_iPass = 0;
    size_t m_iCommand = 0;
    bool m_bTraced = false;
};
