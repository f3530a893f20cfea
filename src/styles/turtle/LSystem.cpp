#include "styles/turtle/LSystem.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/Trace.h"

namespace {

constexpr double kDegrees = 3.14159265358979323846 / 180.0;
constexpr size_t kReserve = 2048;
// An extent below this share of the path's size is the rounding of the
// turns, not a shape: fitting it would blow noise up to the cell's size.
constexpr float kFlatShare = 1e-3f;

// `rule` with the characters of each pair exchanged, read backwards when
// `reverse`.
std::string exchanged(const std::string& rule, bool reverse,
                      std::initializer_list<std::pair<char, char>> pairs) {
    std::string out = rule;
    if (reverse) std::reverse(out.begin(), out.end());
    for (char& c : out)
        for (const auto& [a, b] : pairs) {
            if (c == a) {
                c = b;
                break;
            }
            if (c == b) {
                c = a;
                break;
            }
        }
    return out;
}

}  // namespace

LSystem::LSystem(std::string axiom, float x0, float y0, float turn, float stepLength)
    : m_sResult(std::move(axiom)),
      m_fX0(x0),
      m_fY0(y0),
      m_fX(x0),
      m_fY(y0),
      m_fTurn(std::isfinite(turn) ? turn : 0.0f),
      m_fStep(std::isfinite(stepLength) ? stepLength : 0.0f) {}

void LSystem::addRule(char symbol, const std::string& replacement) {
    m_rules[symbol] = replacement;
    const auto derive = [this](char from, char to, const char* text, bool reverse,
                               std::initializer_list<std::pair<char, char>> pairs) {
        const auto rule = m_rules.find(from);
        if (rule == m_rules.end()) return;
        m_rules[to] = exchanged(rule->second, reverse, pairs);
        trace("%s line %d : %s = %s", "LSystem", 55, text, m_rules[to].c_str());
    };
    derive('L', 'R', "sRReplacement", true, {{'L', 'R'}, {'+', '-'}, {'[', ']'}});
    derive('T', 'B', "sBReplacement", false, {{'T', 'B'}, {'t', 'b'}, {'+', '-'}});
    derive('B', 't', "stReplacement", true, {{'[', ']'}});
    derive('t', 'b', "sbReplacement", true, {{'[', ']'}});
}

void LSystem::expand(int generations) {
    for (int g = 0; g < generations && m_sResult.size() <= kMaxLength; ++g) {
        std::string word;
        word.reserve(kReserve);
        for (char c : m_sResult) {
            const auto rule = m_rules.find(c);
            if (rule != m_rules.end())
                word += rule->second;
            else
                word += c;
            if (word.size() > kMaxLength) break;
        }
        m_sResult = std::move(word);
    }
    trace("%s line %d : m_sResult.length() = %zu", "LSystem", 77, m_sResult.size());
    measure();
}

void LSystem::apply(char c) {
    switch (c) {
        case 'F':
        case 'L':
        case 'R':
        case 'f': {
            const double a = m_fHeading * kDegrees;
            m_fX += static_cast<float>(std::cos(a) * m_fStep);
            m_fY += static_cast<float>(std::sin(a) * m_fStep);
            break;
        }
        case '+':
        case '>':
            m_fHeading += m_fTurn;
            break;
        case '-':
        case '<':
            m_fHeading -= m_fTurn;
            break;
        case '[':
            m_stackX.push_back(m_fX);
            m_stackY.push_back(m_fY);
            m_stackHeading.push_back(m_fHeading);
            break;
        case ']':
            if (m_stackX.empty()) break;  // nothing saved: ignored
            m_fX = m_stackX.back(), m_stackX.pop_back();
            m_fY = m_stackY.back(), m_stackY.pop_back();
            m_fHeading = m_stackHeading.back(), m_stackHeading.pop_back();
            break;
        default:
            break;
    }
    // Headings stay small, so that the sines keep their precision over a
    // long word of turns in one direction.
    if (std::fabs(m_fHeading) >= 360.0f) m_fHeading = std::fmod(m_fHeading, 360.0f);
}

namespace {

// A coordinate fitted to -1..1 over its extent; on an axis without one it
// keeps its start, the rounding of a straight path taken off.
float fit(float v, bool fitted, bool spans, float lo, float hi, float start) {
    if (!fitted) return v;
    if (spans) return 2 * (v - lo) / (hi - lo) - 1;
    if (!(lo <= hi)) return v;  // no box: a path of no commands
    return v - (lo + hi) / 2 + start;
}

}  // namespace

float LSystem::fitX(float x) const { return fit(x, m_bFitted, m_bSpanX, m_fMinX, m_fMaxX, m_fX0); }

float LSystem::fitY(float y) const { return fit(y, m_bFitted, m_bSpanY, m_fMinY, m_fMaxY, m_fY0); }

bool LSystem::next(float& x1, float& y1, float& x2, float& y2, bool& drawn) {
    if (m_index >= m_sResult.size()) return false;
    x1 = fitX(m_fX), y1 = fitY(m_fY);
    const char c = m_sResult[m_index];
    apply(c);
    x2 = fitX(m_fX), y2 = fitY(m_fY);
    // A path that is one point has nothing to show.
    drawn = draws(c) && (!m_bFitted || m_bSpanX || m_bSpanY);
    ++m_index;
    return true;
}

void LSystem::measure() {
    m_fMinX = m_fMinY = 1000000;
    m_fMaxX = m_fMaxY = -1000000;
    m_bFitted = m_bSpanX = m_bSpanY = false;
    m_fX = m_fX0, m_fY = m_fY0, m_fHeading = 0;
    m_stackX.clear(), m_stackY.clear(), m_stackHeading.clear();
    m_index = 0;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool drawn = false;
    while (next(x1, y1, x2, y2, drawn)) {
        m_fMinX = std::min({m_fMinX, x1, x2});
        m_fMaxX = std::max({m_fMaxX, x1, x2});
        m_fMinY = std::min({m_fMinY, y1, y2});
        m_fMaxY = std::max({m_fMaxY, y1, y2});
    }
    const float w = m_fMaxX - m_fMinX, h = m_fMaxY - m_fMinY;
    const float size = std::max({std::fabs(m_fStep), w, h});
    m_bSpanX = std::isfinite(w) && w > kFlatShare * size;
    m_bSpanY = std::isfinite(h) && h > kFlatShare * size;
    m_fX = m_fX0, m_fY = m_fY0, m_fHeading = 0;
    m_stackX.clear(), m_stackY.clear(), m_stackHeading.clear();
    m_index = 0;
    m_bFitted = true;
}
