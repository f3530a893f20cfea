#pragma once
// The neighbourhood filters: each gives, for a position of a cell, a colour
// made from the cell's picture around that position as it was before the
// cell was repainted. prepare() copies the cell into a buffer, a row at a
// time, giving way to input after every row; colorAt() then reads only that
// buffer, never what has been painted since.
//
// Members: the box blur, the mode filter, a random convolution and a
// sharpening one, three inks that trace where the hue changes, and the
// plasma, which ignores the picture but for its four corners and grows a
// cloud of palette colours between them.
//
// The members keep the straightforward form of each filter beside the fast
// one (summed rows for the blur, a small hash for the mode filter, cached
// hues for the inks); setPlainPath() selects it, for the tests that compare
// the two.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "engine/FactoryContext.h"

class CDC;
class Color;
class ColorSelector;
class Dot;
class RandomSource;
class SubRect;

// Per-cell storage that is written before it is read: made without being
// cleared (clearing a full-screen cell's would take milliseconds at once),
// empty when memory ran out.
template <class T>
class CellStore {
public:
    bool make(size_t n) {
        m_p.reset(new (std::nothrow) T[n]);
        return m_p != nullptr;
    }
    void free() { m_p.reset(); }
    bool empty() const { return !m_p; }
    T* data() { return m_p.get(); }
    const T* data() const { return m_p.get(); }
    T& operator[](size_t i) { return m_p[i]; }
    const T& operator[](size_t i) const { return m_p[i]; }

private:
    std::unique_ptr<T[]> m_p;
};

class Neighbourly {
public:
    Neighbourly(RandomSource& random, Dot* dot);
    virtual ~Neighbourly();
    Neighbourly(const Neighbourly&) = delete;
    Neighbourly& operator=(const Neighbourly&) = delete;

    // The filtered colour at (x, y) of the cell being repainted. Any
    // position is allowed: reads are held to the cell.
    virtual void colorAt(Color& color, int x, int y) = 0;
    // Builds or goes on building the buffer for the cell; returns at once
    // when it is complete, and after any row when input waits.
    virtual void prepare(CDC& dc, const SubRect& subRect);
    // Frees the buffer: the next prepare() starts on a new cell.
    virtual void finish();

    // The filter of the settings' neighbourhood chooser; writes the
    // factory's trace line. `dot` is the style's dot (not owned).
    static std::unique_ptr<Neighbourly> create(RandomSource& random, Dot* dot,
                                               const FactoryContext& context = FactoryContext::current());
    // The member of an identifier (0..6; any other makes the plasma).
    static std::unique_ptr<Neighbourly> make(int id, RandomSource& random, Dot* dot);

    bool active() const { return m_bActive; }
    bool loaded() const { return m_bLoaded; }
    int width() const { return m_iWidth; }
    int height() const { return m_iHeight; }
    void setPlainPath(bool plain) { m_bPlain = plain; }
    // Buffers larger than this many bytes count as a failed allocation (the
    // tests lower it); 0 restores the default.
    static void setBufferLimit(uint64_t bytes);
    static uint64_t bufferLimit();

protected:
    // The scene is idle (always, without a scene).
    static bool idle();
    // Takes the cell's size and makes the buffers; false (and inactive)
    // when that fails.
    bool allocate(const SubRect& subRect);
    // Called once a row of the buffer has been read.
    virtual void rowLoaded(int y) { (void)y; }
    // Makes the per-cell stores of a member beyond the pixels; false when
    // that fails.
    virtual bool allocateExtra() { return true; }
    virtual void freeExtra() {}
    // Bytes a member's per-cell stores take for `pixels` pixels.
    virtual uint64_t extraBytes(uint64_t pixels) const {
        (void)pixels;
        return 0;
    }
    // The buffered pixel (0x00BBGGRR) at a position held to the cell.
    uint32_t pixel(int x, int y) const {
        x = x < 0 ? 0 : (x > m_iMaxX ? m_iMaxX : x);
        y = y < 0 ? 0 : (y > m_iMaxY ? m_iMaxY : y);
        return m_buffer[static_cast<size_t>(y) * static_cast<size_t>(m_iWidth) + static_cast<size_t>(x)];
    }
    const uint32_t* row(int y) const {
        return m_buffer.data() + static_cast<size_t>(y) * static_cast<size_t>(m_iWidth);
    }
    static void setColor(Color& color, uint32_t pixel);

    RandomSource* m_pRandom;  // not owned
    bool m_bAllocated = false;
    int32_t m_iReadX = 0;
    int32_t m_iReadY = 0;
    int32_t m_iWidth = 0;
    int32_t m_iHeight = 0;
    int32_t m_iMaxX = -1;
    int32_t m_iMaxY = -1;
    int32_t m_iSize = 0;
    Dot* m_pDot;  // not owned
    bool m_bActive = true;
    bool m_bLoaded = false;
    bool m_bPlain = false;
    // The cell's pixels as they were, row-major, as colour references.
    CellStore<uint32_t> m_buffer;
};

// The mean of the (2R+1)-square window, clipped to the cell.
class NeighbourlyBlur : public Neighbourly {
public:
    NeighbourlyBlur(RandomSource& random, Dot* dot);
    void colorAt(Color& color, int x, int y) override;
    int radius() const { return m_iRadius; }

protected:
    // The window's columns x0..x1 and rows y0..y1; false when it is empty.
    bool window(int x, int y, int& x0, int& y0, int& x1, int& y1) const;
    void rowLoaded(int y) override;
    bool allocateExtra() override;
    void freeExtra() override;
    uint64_t extraBytes(uint64_t pixels) const override;

    int32_t m_iRadius = 1;
    // Per channel, the sums of each row up to each column (W + 1 a row),
    // and of those sums down to each row: the blur's summed-area table.
    CellStore<uint32_t> m_sums;
    bool m_bSums = false;  // this member keeps the table
};

// The mode filter: the colour seen most often in the window, the first to
// reach the highest count in column order; the pixel itself when no colour
// repeats.
//
// Along a row the window's counts are kept up to date column by column.
// When no colour repeats, or one colour alone has the highest count (it is
// then the first to reach it), the answer needs no scan; only ties are
// settled by counting the window afresh in its order.
class NeighbourlyFreq : public NeighbourlyBlur {
public:
    NeighbourlyFreq(RandomSource& random, Dot* dot);
    void colorAt(Color& color, int x, int y) override;
    void finish() override;

private:
    uint32_t plainMode(int x0, int y0, int x1, int y1, uint32_t self);
    // `highest`: the count no colour of the window exceeds.
    uint32_t hashedMode(int x0, int y0, int x1, int y1, uint32_t self, int highest);
    uint32_t slidingMode(int x0, int y0, int x1, int y1, uint32_t self);
    // The running counts: a colour's slot, a column in or out, all afresh.
    int slotOf(uint32_t c) const;
    void countColumn(int x, int y0, int y1, int delta);
    void recount(int x0, int y0, int x1, int y1);

    std::vector<uint32_t> m_colors;  // the plain list of colours seen
    std::vector<int32_t> m_counts;
    // The scan's hash: 128 slots of (colour, count), valid when stamped
    // with the current pixel's generation.
    static constexpr int kSlots = 128;
    uint32_t m_slotColor[kSlots] = {};
    int32_t m_slotCount[kSlots] = {};
    uint32_t m_slotStamp[kSlots] = {};
    uint32_t m_stamp = 0;
    // The running counts along a row: colours that left the window keep
    // their slot at count 0 until the table is half full and made afresh.
    static constexpr int kRunSlots = 1024;
    std::vector<uint32_t> m_runColor;
    std::vector<int32_t> m_runCount;  // -1: a free slot
    int m_iRunUsed = 0;
    std::vector<int32_t> m_withCount;                  // how many colours have each count
    int m_iBest = 0;                                   // the highest count
    uint32_t m_leader = 0;                             // the last colour to reach it
    int m_wx0 = 0, m_wx1 = -1, m_wy0 = 0, m_wy1 = -1;  // the window counted
};

// A random kernel, anchored at the window's clipped corner, divided by its
// sum unless that is 0.
class NeighbourlyConvolver : public NeighbourlyBlur {
public:
    NeighbourlyConvolver(RandomSource& random, Dot* dot);
    void colorAt(Color& color, int x, int y) override;
    int32_t weight(int i, int j) const { return m_weights[static_cast<size_t>(i * side() + j)]; }
    int32_t sum() const { return m_iSum; }

protected:
    int side() const { return 2 * m_iRadius + 1; }
    std::vector<int32_t> m_weights;  // column by column
    int32_t m_iSum = 0;
};

// 16 at the centre of a 3 x 3 kernel of -1, sum 8.
class NeighbourlySharpen : public NeighbourlyConvolver {
public:
    NeighbourlySharpen(RandomSource& random, Dot* dot);
};

// The inks compare the hues around a pixel with its own; they keep the
// hues of the cell.
class NeighbourlyInk : public NeighbourlyBlur {
public:
    NeighbourlyInk(RandomSource& random, Dot* dot);
    void colorAt(Color& color, int x, int y) override;

protected:
    // How far the window's hues exceed the centre's; false for an empty window.
    bool difference(int x, int y, int& diff);
    // The result for a difference; `self` the unfiltered pixel.
    virtual uint32_t ink(int diff, uint32_t self) const {
        (void)diff;
        return self;
    }
    float hueAt(int x, int y) const;
    void rowLoaded(int y) override;
    bool allocateExtra() override;
    void freeExtra() override;
    uint64_t extraBytes(uint64_t pixels) const override;

    int32_t m_acc = 0;
    CellStore<float> m_hues;
};

// Ink where the hue changes more than the threshold.
class NeighbourlyInkEdges : public NeighbourlyInk {
public:
    NeighbourlyInkEdges(RandomSource& random, Dot* dot);
    int32_t threshold() const { return m_iThreshold; }
    uint32_t inkColor() const { return m_ink; }

protected:
    uint32_t ink(int diff, uint32_t self) const override { return diff > m_iThreshold ? m_ink : self; }
    int32_t m_iThreshold = 1;
    uint32_t m_ink = 0;
};

// Ink where the hue changes little.
class NeighbourlyInkFill : public NeighbourlyInkEdges {
public:
    using NeighbourlyInkEdges::NeighbourlyInkEdges;

protected:
    uint32_t ink(int diff, uint32_t self) const override { return diff <= m_iThreshold ? m_ink : self; }
};

// Two colours, black and white: the pen on edges, the ink elsewhere.
class NeighbourlyInkPen : public NeighbourlyInkEdges {
public:
    NeighbourlyInkPen(RandomSource& random, Dot* dot);

protected:
    uint32_t ink(int diff, uint32_t self) const override {
        (void)self;
        return diff > m_iThreshold ? m_pen : m_ink;
    }
    uint32_t m_pen = 0;
};

// Midpoint displacement between the palette positions of the cell's four
// corners, shown through a colour selector.
class NeighbourlyPlasma : public Neighbourly {
public:
    NeighbourlyPlasma(RandomSource& random, Dot* dot);
    ~NeighbourlyPlasma() override;
    void colorAt(Color& color, int x, int y) override;
    void prepare(CDC& dc, const SubRect& subRect) override;
    void finish() override;
    int factor() const { return m_iFactor; }
    // The value of a cell position (0 when none is held).
    int value(int x, int y) const;

private:
    struct Square {
        int32_t x0, y0, x1, y1;
    };
    // Sets a cell that is still 0 to `mean` moved by up to d either way.
    void displace(int x, int y, int mean, int d);

    std::vector<uint16_t> m_cells;
    // The squares still to subdivide, the next on top: input leaves the rest
    // here, and the next prepare() goes on with them.
    std::vector<Square> m_pending;
    uint32_t m_iSquares = 0;  // squares subdivided, for the idle tests
    int16_t m_iFactor = 1;
    int16_t m_iHighest = 0;
    float m_fN = 1;
    std::unique_ptr<ColorSelector> m_pColorSelector;
    std::vector<float> m_in;
};
