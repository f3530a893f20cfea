#include "styles/poly/PolyDrawer.h"

#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "platform/DC.h"
#include "platform/Region.h"
#include "styles/line/Line.h"

void PolyDrawerSolid::draw(CDC& dc, const POINT* points, int count, const Color& color) {
    CRgn region;
    if (count < 3 || !region.CreatePolygonRgn(points, count, ALTERNATE)) return;
    dc.FillRgn(region, CBrush{BrushStyle::Solid, color.colorRef()});
}

PolyDrawerWire::PolyDrawerWire(RandomSource& random) : m_pLine(CreateStraightLine(random)) {}

PolyDrawerWire::~PolyDrawerWire() = default;

void PolyDrawerWire::draw(CDC& dc, const POINT* points, int count, const Color& color) {
    if (count < 2) return;
    for (int i = 0; i < count; ++i) {
        const POINT a = points[i], b = points[(i + 1) % count];
        m_pLine->draw(dc, a.x, a.y, b.x, b.y, color);
    }
}

void PolyDrawerWire::setCell(const SubRect* cell) { m_pLine->setCell(cell); }

std::unique_ptr<PolyDrawer> CreatePolyDrawer(RandomSource& random, const FactoryContext& context) {
    const int index = context.choosers.chooser(Family::PolyDrawer).choose(random);
    std::unique_ptr<PolyDrawer> pPolyDrawer;
    const char* name = "PolyDrawerSolid";
    if (index == 1) {
        pPolyDrawer = std::make_unique<PolyDrawerWire>(random);
        name = "PolyDrawerWire";
    } else {
        pPolyDrawer = std::make_unique<PolyDrawerSolid>();
    }
    traceMade("PolyDraw", 43, "(typeid(*pPolyDrawer)).name()", name);
    return pPolyDrawer;
}
