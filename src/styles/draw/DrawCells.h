#pragma once
// Puts one segment of the normalised square into the cells of a drawing:
// every cell of the group (and, for a checkerboard, of one parity of row
// plus column), each with its own mapping to pixels.

class StyleScene;
class Color;
class Line;

// Any parity: every cell of the group.
constexpr int kAnyParity = -1;

// Maps both ends into each cell of `group` whose (row + column) % 2 is
// `parity` (kAnyParity for all) and draws the segment there with `line`;
// ends that meet in one pixel set that pixel. Stops at pending input; the
// palette animation gets its tick after each cell. False when input cut
// the segment short.
bool drawSegmentInCells(StyleScene& scene, Line& line, int group, int parity, float x1, float y1, float x2,
                        float y2, const Color& color);
