#pragma once
// Distorters: the transformations of the Distort style. Given a pixel of a
// cell (relative to the cell) and a copy of the cell's picture taken before
// it was repainted, a distorter fetches the colour that pixel takes:
// mirrored, swirled, zoomed, waved, smeared or relit. The members are
// declared in DistorterMembers.h; they derive from the base virtually, so
// that a member made of two others has one base.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "color/Color.h"
#include "engine/FactoryContext.h"
#include "engine/MathErrors.h"
#include "engine/Scene.h"
#include "platform/DC.h"

class ChooserSet;
class RandomSource;
class SubRect;

// The copy of a cell a distorter reads, W x H pixels, each as GetPixel
// answers: a plain colour reference, on a palette display the hardware entry
// of the stored index at the moment of reading. Reads go straight to the
// rows, or with `plain` through GetPixel itself (the tests compare the two).
class DistorterCopy {
public:
    DistorterCopy() = default;
    DistorterCopy(const CDC& dc, bool plain);

    int width() const { return m_iW; }
    int height() const { return m_iH; }
    // GetPixel's answer, CLR_INVALID outside the copy.
    COLORREF get(int x, int y) const {
        if (m_bPlain) return m_pDC->GetPixel(x, y);
        if (x < 0 || y < 0 || x >= m_iW || y >= m_iH) return CDC::CLR_INVALID;
        if (m_pHardware) return (*m_pHardware)[m_pSurface->row8(y)[x]];
        return m_pSurface->row32(y)[x];
    }
    // The pixel of the copy nearest (x, y): a position beyond an edge reads
    // the edge. Black for a copy with no pixels.
    COLORREF pixel(int x, int y) const {
        if (m_iW <= 0 || m_iH <= 0) return 0;
        return get(std::clamp(x, 0, m_iW - 1), std::clamp(y, 0, m_iH - 1));
    }

private:
    const CDC* m_pDC = nullptr;
    const CSurface* m_pSurface = nullptr;
    const std::array<uint32_t, 256>* m_pHardware = nullptr;  // set for 8-bit rows
    bool m_bPlain = false;
    int m_iW = 0;
    int m_iH = 0;
};

// What a distorter takes from the scene when it is built: the scene's size
// and depth; from the stand-in scene (tests), a 640 x 480 true-colour screen.
struct DistorterSetting {
    int screenWidth = 640;
    int screenHeight = 480;
    bool trueColor = true;

    static DistorterSetting of(const Scene& scene);
};

class Distorter {
public:
    // Keeps `random` (not owned), the owning style's source: the members
    // draw their parameters from it in their constructors, some also per
    // pixel.
    Distorter(RandomSource& random, const DistorterSetting& setting);
    virtual ~Distorter() = default;
    Distorter(const Distorter&) = delete;
    Distorter& operator=(const Distorter&) = delete;

    // The colour of pixel (x, y) of `subRect` (relative to it), fetched from
    // `copy`, the cell's picture before it was repainted; written to `color`
    // and returned. The copy is only ever read inside: a position that falls
    // outside reads the nearest edge.
    virtual Color& map(Color& color, int x, int y, const SubRect& subRect, const DistorterCopy& copy) = 0;

    // A member drawn with the settings' distorter chooser (no exclusions,
    // ten tries). Writes the factory's trace line.
    static std::unique_ptr<Distorter> create(RandomSource& random,
                                             const FactoryContext& context = FactoryContext::current());
    static std::unique_ptr<Distorter> create(RandomSource& random, const ChooserSet& choosers,
                                             const DistorterSetting& setting);
    // The member at an index of the chooser's table (0..23), made without
    // drawing the index; any other index makes the first.
    static std::unique_ptr<Distorter> make(int index, RandomSource& random, const DistorterSetting& setting);
    static const char* name(int index);
    static constexpr int kMembers = 24;

protected:
    // The normalised position of pixel v of n, 2v/n - 1, and its fraction v/n.
    static float norm(int v, int n) { return 2.0f * static_cast<float>(v) / static_cast<float>(n) - 1.0f; }
    static float frac(int v, int n) { return static_cast<float>(v) / static_cast<float>(n); }
    // A computed position truncated and held to 0..n-1: every large or NaN
    // coordinate reaches the copy through here (NaN gives 0).
    static int clampTo(double v, int n) {
        return std::clamp(qvmath::truncSaturated(v), 0, std::max(n - 1, 0));
    }
    // The colour of a pixel read from the copy.
    static Color& take(Color& color, COLORREF pixel) {
        color = Color(pixel);
        return color;
    }

    RandomSource* m_pRandom;  // not owned
    int32_t m_iMaxX;          // the screen's width - 1
    int32_t m_iMaxY;          // the screen's height - 1
};

// One value per position along an axis of a cell (a column's or a row's
// term), each computed on first use and kept while the axis length stays
// the same. Memory is taken when the length changes, never per pixel.
class DistorterAxisMemo {
public:
    template <class F>
    float at(int i, int n, F&& compute) {
        if (n != m_iLength) {
            m_iLength = n;
            m_values.assign(static_cast<size_t>(std::max(n, 0)), 0.0f);
            m_known.assign(static_cast<size_t>(std::max(n, 0)), 0);
        }
        if (i < 0 || i >= n) return compute(i);
        const size_t k = static_cast<size_t>(i);
        if (!m_known[k]) m_values[k] = compute(i), m_known[k] = 1;
        return m_values[k];
    }

private:
    int m_iLength = -1;
    std::vector<float> m_values;
    std::vector<uint8_t> m_known;
};
