#include "styles/draw/DrawCells.h"

#include <cmath>

#include "styles/StyleScene.h"
#include "styles/line/Line.h"

bool drawSegmentInCells(StyleScene& scene, Line& line, int group, int parity, float x1, float y1, float x2,
                        float y2, const Color& color) {
    CDC* dc = scene.dc();
    // An end that is nowhere has no pixel.
    if (!dc || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return true;
    for (const SubRect& r : scene.subRects()) {
        if (!scene.isIdle()) return false;
        if (r.group() != group) continue;
        if (parity != kAnyParity && (r.row() + r.column()) % 2 != parity) continue;
        const int px1 = r.mapX(x1), py1 = r.mapY(y1);
        const int px2 = r.mapX(x2), py2 = r.mapY(y2);
        if (px1 == px2 && py1 == py2) {
            dc->SetPixel(px1, py1, color.colorRef());
        } else {
            line.setCell(&r);
            line.draw(*dc, px1, py1, px2, py2, color);
            line.setCell(nullptr);
        }
        scene.animatePalette(false);
    }
    return true;
}
