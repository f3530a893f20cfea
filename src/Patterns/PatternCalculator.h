#pragma once
// Random function objects: after a one-time random setup a calculator maps a
// vector of inputs (coordinates in -1..1) to a vector of outputs in 0..1.
// The solid designs paint them point by point; distorters, colour makers,
// colour variation, wavy outlines and polygon painters evaluate them too.
//
// The family's members live in their own headers (PatternSin.h, ...); this
// one holds the base, its factory, the grid of colour indices some callers
// want instead of single points, and the one shape-based member.

#include <cstdint>
#include <memory>
#include <vector>

class RandomSource;

// A width x height grid of palette indices, addressed (column, row).
class IndexGrid {
public:
    IndexGrid() = default;
    IndexGrid(int width, int height) { resize(width, height); }

    // Every cell 0 afterwards; a negative size counts as 0.
    void resize(int width, int height);
    void fill(int32_t value);
    int width() const { return m_iWidth; }
    int height() const { return m_iHeight; }
    // The caller keeps 0 <= column < width() and 0 <= row < height().
    int32_t& at(int column, int row) { return m_cells[index(column, row)]; }
    int32_t at(int column, int row) const { return m_cells[index(column, row)]; }
    // Rows one after the other, width() cells each.
    const std::vector<int32_t>& cells() const { return m_cells; }

private:
    size_t index(int column, int row) const {
        return static_cast<size_t>(row) * static_cast<size_t>(m_iWidth) + static_cast<size_t>(column);
    }
    int m_iWidth = 0;
    int m_iHeight = 0;
    std::vector<int32_t> m_cells;
};

class PatternCalculator {
public:
    // Keeps `random` (not owned), the owning style's source; members that
    // draw in their constructor draw from it there.
    explicit PatternCalculator(RandomSource& random) : m_pRandom(&random) {}
    virtual ~PatternCalculator() = default;
    PatternCalculator(const PatternCalculator&) = delete;
    PatternCalculator& operator=(const PatternCalculator&) = delete;

    // True for the members that fill any number of outputs.
    virtual bool isVector() const { return false; }
    // Draws the random parameters once: a call after a completed setup does
    // nothing, so the first caller's counts win. A setup that gives up
    // because input is pending leaves the calculator not set up; calculate()
    // is still safe then and the next setup() starts over.
    virtual void setup(int inputCount, int outputCount, bool symmetric, int depth) = 0;
    // `in` holds the inputs, `out` is sized by the caller to the output
    // count; fills `out` with values in 0..1.
    virtual void calculate(const std::vector<float>& in, std::vector<float>& out) = 0;
    // Resizes `grid` to width x height and fills it with palette indices of
    // the first output; `mirrored` computes the upper-left quarter only and
    // mirrors it into the other three.
    virtual void fillIndexGrid(IndexGrid& grid, int width, int height, bool mirrored);
    // The shape-based member builds and keeps a grid; the others do nothing.
    virtual void makeIndexGrid(int width, int height);
    // calculate(), then every output v becomes 2v - 1 (0..1 becomes -1..1).
    virtual void calculateSigned(const std::vector<float>& in, std::vector<float>& out);
    // How many outputs a request for `requested` gives.
    virtual int outputCount(int requested) const {
        (void)requested;
        return 1;
    }

    bool isSetUp() const { return m_bSetUp; }

    // A member drawn with `random`: for one output a weighted choice among
    // the scalar members, for several a network or a vector of sines. Writes
    // the factory's trace line. The caller owns the result. `shapesAllowed`
    // is false at every call of the program and changes nothing.
    static std::unique_ptr<PatternCalculator> create(RandomSource& random, int outputCount,
                                                     bool shapesAllowed);

protected:
    // The first output at (xs[i], y) into values[i] for every i, for the
    // grid fill; members that can do a row faster than point by point
    // override it with the same results.
    virtual void calculateRow(const std::vector<float>& xs, float y, std::vector<float>& values);

    RandomSource* m_pRandom;  // not owned
    bool m_bSetUp = false;
};

class LimnShapes;

// A picture of one random shape: the grid is painted by the shape painters
// (foreground where the shape's mask is false, background where it is true)
// and calculate() looks points up in it.
class PatternLimn : public PatternCalculator {
public:
    explicit PatternLimn(RandomSource& random);
    ~PatternLimn() override;

    // Nothing to draw: only marks the calculator set up.
    void setup(int inputCount, int outputCount, bool symmetric, int depth) override;
    // Makes a 128 x 128 grid on first use; out[0] = cell / (colours - 1).
    void calculate(const std::vector<float>& in, std::vector<float>& out) override;
    // Clears `grid` to width x height of 0, draws the foreground index and
    // takes the background half a palette away, then paints the shape.
    // (`mirrored` is left to the shape painter's own mirror choice.)
    void fillIndexGrid(IndexGrid& grid, int width, int height, bool mirrored) override;
    // The second entry: fills `grid` (width x height) with `fill`, then
    // paints the shape with the caller's foreground and background.
    virtual void fillIndexGrid(IndexGrid& grid, int width, int height, int32_t fill, int32_t fg, int32_t bg);
    // A new owned grid of width x height, filled by fillIndexGrid.
    void makeIndexGrid(int width, int height) override;

    const IndexGrid* grid() const { return m_pGrid.get(); }

protected:
    // Paints one random shape into `grid` with (fg, bg) while the scene is
    // idle. Defined with the shape painters (PatternLimnShape.cpp).
    void paintShape(IndexGrid& grid, int32_t fg, int32_t bg);
    // Deletes the painter kept from the last painting.
    void releaseShapes();

    std::unique_ptr<IndexGrid> m_pGrid;
    LimnShapes* m_pShapes = nullptr;  // owned; the painter that made the grid
};
