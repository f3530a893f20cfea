#pragma once
// Screen-sized true/false masks in six patterns: all true, checks, vertical
// or horizontal stripes, circles on a lattice, and bubbles painted by the
// overlapping-shape painters. A map is filled once when it is made and read
// with get(); a map whose cells could not be allocated reads false.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/FactoryContext.h"

class ChooserSet;
class RandomSource;

class BoolMap {
public:
    // All false; invalid (and empty) when the cells cannot be allocated or
    // the size is not positive.
    BoolMap(RandomSource* random, int width, int height);
    virtual ~BoolMap() = default;
    BoolMap(const BoolMap&) = delete;
    BoolMap& operator=(const BoolMap&) = delete;

    virtual bool isRegularPattern() const { return true; }
    virtual bool allowsSecondColor() const { return true; }

    // False outside the map or when it is invalid.
    bool get(int x, int y) const {
        if (!m_bValid || x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) return false;
        return m_cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_iWidth) +
                       static_cast<std::size_t>(x)] != 0;
    }
    bool valid() const { return m_bValid; }
    int width() const { return m_iWidth; }
    int height() const { return m_iHeight; }
    std::vector<uint8_t>& cells() { return m_cells; }

protected:
    // Sets every cell to b where `inside(x, y)` holds, else to not-b.
    template <class F>
    void fill(bool b, F inside) {
        std::size_t i = 0;
        for (int y = 0; y < m_iHeight; ++y)
            for (int x = 0; x < m_iWidth; ++x) m_cells[i++] = inside(x, y) ? b : !b;
    }

    RandomSource* m_pRandom;  // not owned
    int32_t m_iWidth = 0;
    int32_t m_iHeight = 0;
    bool m_bValid = false;
    std::vector<uint8_t> m_cells;  // row by row, 0 false, 1 true
};

class BoolMapAll : public BoolMap {
public:
    BoolMapAll(RandomSource* random, int width, int height);
};

class BoolMapBitCheckered : public BoolMap {
public:
    BoolMapBitCheckered(RandomSource* random, int width, int height);
};

class BoolMapVertStripe : public BoolMap {
public:
    BoolMapVertStripe(RandomSource* random, int width, int height);
};

class BoolMapHorzStripe : public BoolMap {
public:
    BoolMapHorzStripe(RandomSource* random, int width, int height);
};

class BoolMapCircles : public BoolMap {
public:
    BoolMapCircles(RandomSource* random, int width, int height);
};

// Shapes painted into the mask by a shape painter; the idle test is asked
// between shapes and a map whose painting was cut short keeps what it got.
class BoolMapBubbles : public BoolMap {
public:
    BoolMapBubbles(RandomSource* random, int width, int height, int drawingCount,
                   const std::function<bool()>& idle);
    bool isRegularPattern() const override { return false; }
    bool allowsSecondColor() const override { return m_bSecondColor; }

private:
    bool m_bSecondColor = false;
};

// One draw of the mask chooser: the kind at that index, BoolMapAll for any
// other. The size and the drawing count are the scene's; the idle test is
// asked while bubbles are painted.
std::unique_ptr<BoolMap> CreateBoolMap(RandomSource& random, const FactoryContext& context, int width,
                                       int height, int drawingCount, const std::function<bool()>& idle);
// The same with the scene's size, drawing count and idle test.
std::unique_ptr<BoolMap> CreateBoolMap(RandomSource& random,
                                       const FactoryContext& context = FactoryContext::current());
