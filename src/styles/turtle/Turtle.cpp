#include "styles/turtle/Turtle.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "color/VaryColor.h"
#include "engine/Scene.h"
#include "engine/Settings.h"
#include "engine/Trace.h"
#include "styles/StyleScene.h"
#include "styles/draw/DrawCells.h"
#include "styles/line/Line.h"

namespace {

constexpr char kAxiomLetters[] = "FFFFFFTBtbLR<>+-";
constexpr char kRuleLetters[] = "FFFFFTBtbLR<>+-[";
constexpr char kMovers[] = "FLT";
constexpr float kStepLength = 0.05f;
constexpr int kTries = 5;
constexpr double kDegrees = 3.14159265358979323846 / 180.0;

// A letter of `letters` (a literal) drawn uniformly.
template <size_t N>
char drawLetter(RandomSource& random, const char (&letters)[N]) {
    return letters[std::clamp(random.below(static_cast<int32_t>(N - 1)), 0, static_cast<int32_t>(N - 2))];
}

}  // namespace

Turtle::Turtle(StyleScene* scene) : Saver(scene) {
    m_pLine = MakeLineKind(6, m_random);
    const Settings* settings = sceneHost().settings();
    m_pVaryColor = CreateVaryColor(m_random, settings->choosers());
    const long long maxTime = settings->maxTime();
    m_dwDuration = static_cast<uint32_t>(std::clamp(maxTime * 1000, 0LL, static_cast<long long>(UINT32_MAX)));
}

Turtle::~Turtle() = default;

std::string Turtle::generator(RandomSource& random, float turn, float stepLength) {
    const int n = random.below(20) + 2;
    std::string out;
    // The private turtle and the points it has been on.
    float x = 0, y = 0, heading = 0;
    std::vector<std::pair<float, float>> visited = {{0.0f, 0.0f}};
    const float near = std::max(std::fabs(stepLength) * 1e-3f, 1e-9f);
    const auto seen = [&](float px, float py) {
        return std::any_of(visited.begin(), visited.end(), [&](const auto& p) {
            return std::fabs(p.first - px) < near && std::fabs(p.second - py) < near;
        });
    };
    int depth = 0;
    for (int i = 0; i < n; ++i) {
        char c = 0;
        float nx = x, ny = y;
        for (int t = 0; t < kTries; ++t) {
            c = drawLetter(random, kRuleLetters);
            if (!LSystem::moves(c)) break;
            const double a = heading * kDegrees;
            nx = x + static_cast<float>(std::cos(a) * stepLength);
            ny = y + static_cast<float>(std::sin(a) * stepLength);
            if (!seen(nx, ny)) break;
        }
        // The accepted letter, or the last one tried.
        if (LSystem::moves(c)) {
            if (!seen(nx, ny)) visited.emplace_back(nx, ny);
            x = nx, y = ny;
        } else if (c == '+' || c == '>') {
            heading = std::fmod(heading + turn, 360.0f);
        } else if (c == '-' || c == '<') {
            heading = std::fmod(heading - turn, 360.0f);
        } else if (c == '[') {
            ++depth;
        }
        out += c;
    }
    // Closed at the end: the turtle's test never sees the closing brackets.
    out.append(static_cast<size_t>(depth), ']');
    return out;
}

std::unique_ptr<LSystem> Turtle::invent(RandomSource& random) {
    const int generations = random.below(4) + 1;
    trace("%s line %d : iGenerations = %d", "Turtle", 85, generations);
    std::string axiom = "F";
    const int extra = random.below(10) + 1;
    for (int i = 0; i < extra; ++i) axiom += drawLetter(random, kAxiomLetters);
    trace("%s line %d : sInitiator = %s", "Turtle", 89, axiom.c_str());
    const int more = random.skewedBelow(5, 3);
    const int fewer = random.skewedBelow(2, 4);
    const int directions = std::max(1, more + 4 - fewer);
    const float turn = 360.0f / static_cast<float>(directions);
    trace("%s line %d : fAngleDirection = %f", "Turtle", 94, static_cast<double>(turn));

    auto lsystem = std::make_unique<LSystem>(axiom, 0.0f, 0.0f, turn, kStepLength);
    for (const char* m = kMovers; *m; ++m) {
        trace("%s line %d : sMover = %c", "Turtle", 98, *m);
        const std::string rule = generator(random, turn, kStepLength);
        trace("%s line %d : sGenerator = %s", "Turtle", 100, rule.c_str());
        lsystem->addRule(*m, rule);
    }
    // Invisible moves grow by 3 to 8 times in each generation.
    std::string skip = "f";
    const int runs = random.below(6) + 2;
    static constexpr char kSkip[] = "f";
    for (int i = 0; i < runs; ++i) skip += drawLetter(random, kSkip);
    trace("%s line %d : sGenerator = %s", "Turtle", 108, skip.c_str());
    lsystem->addRule('f', skip);
    lsystem->expand(generations);
    return lsystem;
}

void Turtle::step() {
    if (!m_pLSystem) {
        if (!m_pScene->isIdle()) return;
        m_pLSystem = invent(m_random);
    }
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool drawn = false;
    while (m_pScene->isIdle() && !isDone()) {
        if (!m_pLSystem->next(x1, y1, x2, y2, drawn)) {
            m_bDone = true;
            break;
        }
        if (!drawn) continue;
        const Color color = m_pVaryColor->vary(m_crBase, x1, y1, x2, y2);
        drawSegmentInCells(*m_pScene, *m_pLine, m_iGroup, kAnyParity, x1, y1, x2, y2, color);
        waitStep();
    }
}
