// The shape factory: centre, radius and angle as asked or drawn, then one
// kind from the limn's chooser with the kind's own draws.

#include <algorithm>
#include <cmath>

#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Trace.h"
#include "engine/WeightedChooser.h"
#include "shape/Shape2D.h"

const float kShapeKindWeights[kShapeKinds] = {100, 20, 10, 10, 20, 15, 20, 20,
                                              10,  10, 10, 10, 10, 10, 40, 10};

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTraceLine = 97;

// 1.0 on a coin, else 2 + 2u: round caps or knobs.
double capFactor(RandomSource& random) {
    if (random.below(2) == 1) return 1.0;
    return 2 + 2 * random.uniform();
}

// A second radius drawn against the size bound.
int secondRadius(RandomSource& random, int bound) {
    return qvmath::truncSaturated(random.uniform() * bound + 1);
}

const char* const kKindNames[kShapeKinds] = {
    "Shape2DCircle",   "Shape2DSquare",   "Shape2DStar",      "Shape2DCrescent",
    "Shape2DEllipse",  "Shape2DBead",     "Shape2DRectangle", "Shape2DTriangle",
    "Shape2DSpiral",   "Shape2DWavyLine", "Shape2DGrid",      "Shape2DArrow",
    "Shape2DAsterisk", "Shape2DZigZag",   "Shape2DAmoeba",    "Shape2DBullet"};

}  // namespace

std::unique_ptr<Shape2D> CreateShape2D(const WeightedChooser& chooser, RandomSource& random, int width,
                                       int height, COLORREF color, bool half, int x, int y, int r, double a) {
    const int k = half ? 2 : 1;
    if (x == -1) x = random.below(width / k);
    if (y == -1) y = random.below(height / k);
    int bound = r;
    if (r == -1) {
        bound = std::max(width, height) / 2 / k;
        r = random.below(bound) + 1;
    }
    if (a == -999) a = random.signedUniform() * kPi;
    const int kind = chooser.empty() ? 1 : chooser.choose(random, nullptr, WeightedChooser::kTries);
    traceMade("Shape2D", kTraceLine, "(typeid(*pShape).name())",
              kKindNames[kind >= 0 && kind < kShapeKinds ? kind : 1]);

    std::unique_ptr<Shape2D> shape;
    switch (kind) {
        case 0:
            shape = std::make_unique<Shape2DCircle>(x, y, r, color);
            break;
        case 2: {
            const int points = random.below(50) + 3;
            const int inner = secondRadius(random, bound);
            shape = std::make_unique<Shape2DStar>(x, y, points, r, inner, a, color);
            break;
        }
        case 3:
            shape = std::make_unique<Shape2DCrescent>(x, y, 100, r, secondRadius(random, bound), a, color);
            break;
        case 4:
            shape = std::make_unique<Shape2DEllipse>(x, y, 100, r, secondRadius(random, bound), a, color);
            break;
        case 5:
            shape = std::make_unique<Shape2DBead>(x, y, 100, r, secondRadius(random, bound), a, color);
            break;
        case 6:
            shape = std::make_unique<Shape2DRectangle>(x, y, r, secondRadius(random, bound), a, color);
            break;
        case 7:
            shape = std::make_unique<Shape2DTriangle>(x, y, r, secondRadius(random, bound), a, color);
            break;
        case 8: {
            const double u1 = random.uniform();
            const double u2 = random.uniform();
            const int step = std::max(8, qvmath::truncSaturated((1 - u2) * ((1 - u1) * (r / 40))));
            shape = std::make_unique<Shape2DSpiral>(x, y, r, step, 0.06283186, a, color);
            break;
        }
        case 9: {
            const int length = r / (random.skewedBelow(10, 5) + 1);
            const double waves = random.below(10) + 1;
            const double phase = random.signedUniform() * kPi;
            shape = std::make_unique<Shape2DWavyLine>(x, y, r, length, waves, phase, a, color);
            break;
        }
        case 10: {
            int across = random.below(8) + 3;
            int down = random.below(8) + 3;
            if (random.below(2) == 1) {
                if (random.below(2) == 1)
                    across = 0;
                else
                    down = 0;
            }
            const int style = random.below(2);
            const double factor = capFactor(random);
            shape = std::make_unique<Shape2DGrid>(x, y, r, across, down, style, factor, a, color);
            break;
        }
        case 11:
            shape = std::make_unique<Shape2DArrow>(x, y, r, capFactor(random), a, color);
            break;
        case 12: {
            const int strokes = random.below(8) + 1;
            const double factor = capFactor(random);
            shape = std::make_unique<Shape2DAsterisk>(x, y, r, strokes, factor, a, color);
            break;
        }
        case 13: {
            const int length = r / (random.skewedBelow(10, 5) + 1);
            const double waves = random.below(10) + 1;
            shape = std::make_unique<Shape2DZigZag>(x, y, r, length, waves, a, color);
            break;
        }
        case 14: {
            const int q = secondRadius(random, bound);
            const double wx = 0.2 * random.uniform();
            const double wy = 0.2 * random.uniform();
            const int cx = random.below(4);
            const int cy = random.below(4);
            shape = std::make_unique<Shape2DAmoeba>(x, y, 200, r, q, a, color, wx, wy, cx, cy);
            break;
        }
        case 15: {
            const int tip = x - r + random.below(r);
            shape = std::make_unique<Shape2DBullet>(x, y, tip, r, a, color);
            break;
        }
        default:
            shape = std::make_unique<Shape2DSquare>(x, y, r, a, color);
            break;
    }
    return shape;
}
