#include "styles/poly/Poly.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <typeinfo>

#include "color/ColorMaker.h"
#include "engine/FactoryContext.h"
#include "engine/MathErrors.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "platform/Clock.h"
#include "styles/Saver.h"
#include "styles/ScreenSample.h"
#include "styles/StyleScene.h"

// --- matrices ---------------------------------------------------------------

Matrix4 Matrix4::translation(float x, float y, float z) {
    Matrix4 t;
    t.m[3][0] = x;
    t.m[3][1] = y;
    t.m[3][2] = z;
    return t;
}

Matrix4 Matrix4::rotationX(float a) {
    Matrix4 r;
    const float c = std::cos(a), s = std::sin(a);
    r.m[1][1] = c, r.m[1][2] = s;
    r.m[2][1] = -s, r.m[2][2] = c;
    return r;
}

Matrix4 Matrix4::rotationY(float a) {
    Matrix4 r;
    const float c = std::cos(a), s = std::sin(a);
    r.m[0][0] = c, r.m[0][2] = -s;
    r.m[2][0] = s, r.m[2][2] = c;
    return r;
}

Matrix4 Matrix4::rotationZ(float a) {
    Matrix4 r;
    const float c = std::cos(a), s = std::sin(a);
    r.m[0][0] = c, r.m[0][1] = s;
    r.m[1][0] = -s, r.m[1][1] = c;
    return r;
}

Matrix4 Matrix4::rotation(float a, float b, float c) { return rotationX(a) * rotationY(b) * rotationZ(c); }

Matrix4 Matrix4::operator*(const Matrix4& o) const {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += m[i][k] * o.m[k][j];
            r.m[i][j] = sum;
        }
    return r;
}

Vec4 Matrix4::apply(const Vec4& p) const {
    const float in[4] = {p.x, p.y, p.z, p.w};
    float out[4];
    for (int j = 0; j < 4; ++j) {
        float sum = 0;
        for (int k = 0; k < 4; ++k) sum += in[k] * m[k][j];
        out[j] = sum;
    }
    return {out[0], out[1], out[2], out[3]};
}

namespace {

// The colour with each channel times f (0..1).
Color scaled(const Color& c, float f) {
    Color out = c;
    out.set(qvmath::truncSaturated(c.red() * f), qvmath::truncSaturated(c.green() * f),
            qvmath::truncSaturated(c.blue() * f));
    return out;
}

}  // namespace

// --- the base ---------------------------------------------------------------

Poly::Poly(RandomSource& random, StyleScene* scene) : m_random(random), m_pScene(scene) {}

Poly::~Poly() = default;

bool Poly::idle() const { return !m_pScene || m_pScene->isIdle(); }

void Poly::tick() {
    if (m_pScene) m_pScene->animatePalette(false);
}

int Poly::paletteSize() const { return m_pScene ? std::max(m_pScene->colorCount(), 1) : 256; }

bool Poly::early() const {
    if (!m_pScene) return true;
    return platform::clock().calendarSeconds() - m_pScene->timeBlankStart() < 120;
}

// --- nested squares ---------------------------------------------------------

PolyRect::PolyRect(RandomSource& random, StyleScene* scene) : Poly(random, scene) {
    m_iSteps = m_random.below(64) + 1;
    m_bRotating = m_random.below(2) == 1;
    m_fScale = m_bRotating ? 1.0f / std::sqrt(2.0f) : 1.0f;
    const int shift = m_random.below(4) + 1;
    m_iColorStep = paletteSize() >> shift;
}

bool PolyRect::nextFacet(Saver& saver, std::vector<float>& xs, std::vector<float>& ys, Color& color,
                         bool advance) {
    if (m_iFacet >= m_iSteps) return false;
    const int k = m_iFacet;
    const float h =
        std::pow(1.0f - 1.0f / static_cast<float>(m_iSteps + 1), static_cast<float>(k)) * m_fScale;
    const float turn = m_bRotating ? 2.0f * static_cast<float>(M_PI) * k / m_iSteps : 0.0f;
    const float c = std::cos(turn), s = std::sin(turn);
    static constexpr float kCorners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    xs.resize(4), ys.resize(4);
    for (int i = 0; i < 4; ++i) {
        const float x = kCorners[i][0] * h, y = kCorners[i][1] * h;
        xs[i] = x * c - y * s;
        ys[i] = x * s + y * c;
    }
    const int n = paletteSize();
    const int base = m_pScene ? m_pScene->nearestPaletteIndex(saver.baseColor().colorRef()) : 0;
    const long long index = (static_cast<long long>(base) + static_cast<long long>(m_iColorStep) * k) % n;
    color = Color::fromPaletteIndex(static_cast<int>(index));
    if (advance) ++m_iFacet;
    return true;
}

// --- the bevelled frame -----------------------------------------------------

PolyFrame::PolyFrame(RandomSource& random, StyleScene* scene) : Poly(random, scene) {
    m_fWidth = static_cast<float>(0.1 + 0.15 * m_random.uniform());
}

bool PolyFrame::nextFacet(Saver& saver, std::vector<float>& xs, std::vector<float>& ys, Color& color,
                          bool advance) {
    if (m_iFacet >= 4) return false;
    const int k = m_iFacet;
    // The bottom side first; a quarter turn each brings the left, the top and
    // the right, so the brightest side is the top and the next the left.
    const float inner = 1.0f - 2.0f * m_fWidth;
    const float side[4][2] = {{1, 1}, {-1, 1}, {-inner, inner}, {inner, inner}};
    const float turn = static_cast<float>(k) * static_cast<float>(M_PI) / 2.0f;
    const float c = std::cos(turn), s = std::sin(turn);
    xs.resize(4), ys.resize(4);
    for (int i = 0; i < 4; ++i) {
        xs[i] = side[i][0] * c - side[i][1] * s;
        ys[i] = side[i][0] * s + side[i][1] * c;
    }
    static constexpr float kLight[4] = {0.25f, 0.75f, 1.0f, 0.5f};
    color = scaled(saver.baseColor(), kLight[k]);
    if (advance) ++m_iFacet;
    return true;
}

// --- solids -----------------------------------------------------------------

namespace {

constexpr float kLightX = -0.5f, kLightY = -0.5f, kLightZ = -1.0f;

const ChooserSet& choosers() { return FactoryContext::current().choosers; }

// Most of the screen one colour (the black of a run's first drawing, or of a
// style drawn alone): a solid coloured from it would be that colour too.
constexpr double kFlatScreenShare = 0.75;

bool screenHasPicture(const CDC* dc) {
    // Without a screen to look at nothing is refused.
    if (!dc || !dc->surface()) return true;
    ScreenSample sample;
    sample.take(*dc->surface());
    return !sample.empty() && sample.flatShare() < kFlatScreenShare;
}

}  // namespace

PolySolid::PolySolid(RandomSource& random, StyleScene* scene) : Poly(random, scene) {
    const CDC* dc = m_pScene ? m_pScene->dc() : nullptr;
    m_pColorMaker = CreateColorMaker(m_random, choosers(), dc, screenHasPicture(dc));
    const float pi = static_cast<float>(M_PI);
    m_fAx = static_cast<float>(m_random.signedUniform()) * pi;
    m_fAy = static_cast<float>(m_random.signedUniform()) * pi;
    m_fAz = static_cast<float>(m_random.signedUniform()) * pi;
    m_iU = 1 << m_random.below(5);
    m_iV = 1 << m_random.below(5);
    m_iW = 1 << m_random.below(5);
    m_iMode = m_random.skewedBelow(3, 2);
    m_makerIn.assign(2, 0.0f);
}

PolySolid::~PolySolid() = default;

float PolySolid::shade(const Vec4& p) {
    const float dx = p.x - kLightX, dy = p.y - kLightY, dz = p.z - kLightZ;
    const float d = std::sqrt(dx * dx + dy * dy + dz * dz);
    const float f = 0.5f + (1.0f - d / std::sqrt(3.0f)) / 2.0f;
    if (!(f > 0.0f)) return 0.0f;  // NaN as well
    return std::min(f, 1.0f);
}

void PolySolid::sortFarFirst(std::vector<PolyFacet>& facets) {
    std::stable_sort(facets.begin(), facets.end(),
                     [](const PolyFacet& a, const PolyFacet& b) { return a.maxZ > b.maxZ; });
}

Color PolySolid::makerColor(float u, float v) {
    m_makerIn[0] = u;
    m_makerIn[1] = v;
    Color c;
    m_pColorMaker->make(c, m_makerIn);
    return c;
}

bool PolySolid::keepTile(int row) {
    switch (m_iMode) {
        case 1:
            return row % 2 == 0;
        case 2:
            return m_random.uniform() < 0.5;
        default:
            return true;
    }
}

void PolySolid::addFacet(std::vector<Vec4> points, const Color& color, Saver& saver, bool plotting) {
    if (points.empty()) return;
    const Matrix4 turn = Matrix4::rotation(m_fAx, m_fAy, m_fAz);
    PolyFacet facet;
    for (Vec4& p : points) {
        p = turn.apply(p);
        facet.maxZ = std::max(facet.maxZ, p.z);
    }
    facet.color = scaled(color, shade(points.front()));
    facet.points = std::move(points);
    if (plotting) {
        std::vector<Point3D> corners;
        corners.reserve(facet.points.size());
        for (const Vec4& p : facet.points) corners.push_back({p.x, p.y, p.z});
        saver.plotPoints(corners, facet.color);
    }
    m_facets.push_back(std::move(facet));
}

void PolySolid::build(Saver& saver, bool plotting) {
    if (m_bBuilt) return;
    makeFacets(saver, plotting);
    sortFarFirst(m_facets);
    m_bBuilt = true;
    rewind();
}

bool PolySolid::nextFacet(Saver& saver, std::vector<float>& xs, std::vector<float>& ys, Color& color,
                          bool advance) {
    build(saver, advance);
    if (m_iFacet < 0 || m_iFacet >= static_cast<int>(m_facets.size())) return false;
    const PolyFacet& facet = m_facets[static_cast<size_t>(m_iFacet)];
    xs.resize(facet.points.size());
    ys.resize(facet.points.size());
    for (size_t i = 0; i < facet.points.size(); ++i) {
        xs[i] = facet.points[i].x;
        ys[i] = facet.points[i].y;
        Saver::perspective(xs[i], ys[i], facet.points[i].z);
    }
    color = facet.color;
    if (advance) ++m_iFacet;
    return true;
}

template <class Change>
void PolySolid::changePoints(Change change) {
    for (PolyFacet& facet : m_facets) {
        facet.maxZ = -10.0f;
        for (Vec4& p : facet.points) {
            change(p);
            facet.maxZ = std::max(facet.maxZ, p.z);
        }
    }
}

void PolySolid::rotate(float a, float b, float c) {
    const Matrix4 turn = Matrix4::rotation(a, b, c);
    changePoints([&turn](Vec4& p) { p = turn.apply(p); });
}

void PolySolid::translate(float x, float y, float z) {
    const Matrix4 shift = Matrix4::translation(x, y, z);
    changePoints([&shift](Vec4& p) { p = shift.apply(p); });
}

void PolySolid::clampToCube() {
    changePoints([](Vec4& p) {
        p.x = std::clamp(p.x, -1.0f, 1.0f);
        p.y = std::clamp(p.y, -1.0f, 1.0f);
        p.z = std::clamp(p.z, -1.0f, 1.0f);
    });
}

// --- factories --------------------------------------------------------------

namespace {

struct PolyMaker {
    int kind;
    const char* name;
    std::unique_ptr<Poly> (*make)(RandomSource&, StyleScene*);
};

template <class T>
std::unique_ptr<Poly> makePoly(RandomSource& random, StyleScene* scene) {
    return std::make_unique<T>(random, scene);
}

std::unique_ptr<Poly> makeSphere(RandomSource& random, StyleScene* scene) {
    return std::make_unique<PolySphere>(random, scene, 1.0f, true, false);
}

constexpr PolyMaker kPolyMakers[] = {
    {0, "PolyRect", makePoly<PolyRect>},
    {1, "PolyFrame", makePoly<PolyFrame>},
    {2, "PolyCube", makePoly<PolyCube>},
    {3, "PolyPlane", makePoly<PolyPlane>},
    {4, "PolySurface", makePoly<PolySurface>},
    {5, "PolyCylinder", makePoly<PolyCylinder>},
    {6, "PolyCone", makePoly<PolyCone>},
    {7, "PolySphere", makeSphere},
    {8, "PolyPawn", makePoly<PolyPawn>},
    {9, "PolyShape", makePoly<PolyShape>},
    {10, "PolyGrid", makePoly<PolyGrid>},
    {11, "PolyCircle", makePoly<PolyCircle>},
    {12, "PolyWireCylinder", makePoly<PolyWireCylinder>},
    {13, "PolySpherical", makePoly<PolySpherical>},
    {14, "PolyCylindrical", makePoly<PolyCylindrical>},
    {15, "PolyCartesian", makePoly<PolyCartesian>},
};

const PolyMaker* findKind(int kind) {
    for (const PolyMaker& m : kPolyMakers)
        if (m.kind == kind) return &m;
    return nullptr;
}

std::unique_ptr<Poly> chooseKind(RandomSource& random, StyleScene* scene, Family family, int fallback,
                                 int traceLine) {
    const ChooserSet& set = choosers();
    const int index = set.chooser(family).choose(random);
    const PolyMaker* maker = findKind(set.codeAt(family, index));
    // Kinds outside the family's own members fall back to its first.
    const bool moving = family == Family::PolyCircle;
    if (!maker || (moving != (maker->kind >= 10 && maker->kind <= 12))) maker = findKind(fallback);
    std::unique_ptr<Poly> pPoly = maker->make(random, scene);
    traceMade("Poly", traceLine, "(typeid(*pPoly).name())", maker->name);
    return pPoly;
}

}  // namespace

std::unique_ptr<Poly> MakePolyKind(int kind, RandomSource& random, StyleScene* scene) {
    const PolyMaker* maker = findKind(kind);
    return (maker ? maker : findKind(0))->make(random, scene);
}

std::unique_ptr<Poly> CreatePoly(RandomSource& random, StyleScene* scene) {
    return chooseKind(random, scene, Family::PolySolid, 0, 359);
}

std::unique_ptr<Poly> CreateMovingPoly(RandomSource& random, StyleScene* scene) {
    return chooseKind(random, scene, Family::PolyCircle, 10, 363);
}
