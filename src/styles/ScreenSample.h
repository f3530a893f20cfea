#pragma once
// A coarse sample of a picture: the pixels of a grid of about 4096 points,
// whatever the size of the surface. Two samples of one surface tell cheaply
// whether a drawing changed anything, and one tells whether the picture is
// nearly a single colour.

#include <cstddef>
#include <cstdint>
#include <vector>

class CSurface;

class ScreenSample {
public:
    // Reads the grid's pixels (palette indices on an 8-bit surface).
    void take(const CSurface& surface);
    bool empty() const { return m_values.empty(); }
    size_t size() const { return m_values.size(); }
    // The points whose pixel differs from `other`'s; every point when the
    // two are not of the same grid.
    size_t differences(const ScreenSample& other) const;
    // The same, counting on a true-colour surface only the points where a
    // channel moved by `least` or more: a colour mixed nearly to the one
    // beneath does not stand out. (Palette indices say nothing of how far
    // apart their colours are: there every difference counts.)
    size_t visibleDifferences(const ScreenSample& other, int least) const;
    // The share of the points (0..1) taken by the commonest pixel value.
    double flatShare() const;
    // The number of different pixel values among the points.
    size_t colours() const;

private:
    int m_width = 0;
    int m_height = 0;
    bool m_bTrueColor = false;
    std::vector<uint32_t> m_values;
};
