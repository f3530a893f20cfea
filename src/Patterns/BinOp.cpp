#include "Patterns/BinOp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/MathErrors.h"
#include "engine/RandomSource.h"
#include "engine/Scene.h"
#include "engine/Trace.h"

BinOp::BinOp() : m_iColors(scene().colorCount()) {}

int32_t BinOp::step(float v, float amp) const {
    return qvmath::truncSaturated(((static_cast<double>(v) / amp) + 1.0) / 2.0 * m_iColors);
}

float BinOpAdd::combine(float a, float b, float ampA, float ampB) const {
    const float d = std::fabs(ampA) + std::fabs(ampB);
    return d == 0.0f ? 0.0f : (a + b) / d;
}

float BinOpMult::combine(float a, float b, float ampA, float ampB) const {
    const float d = std::fabs(ampA) * std::fabs(ampB);
    return d == 0.0f ? 0.0f : (a * b) / d;
}

float BinOpSqrt::combine(float a, float b, float ampA, float ampB) const {
    const float d = qvmath::sqrt(ampA * ampA + ampB * ampB);
    return d == 0.0f ? 0.0f : qvmath::sqrt(a * a + b * b) / d;
}

float BinOpAnd::combine(float a, float b, float ampA, float ampB) const {
    if (ampA == 0.0f || ampB == 0.0f) return 0.0f;
    return static_cast<float>(step(a, ampA) & step(b, ampB)) / m_iColors;
}

float BinOpOr::combine(float a, float b, float ampA, float ampB) const {
    if (ampA == 0.0f || ampB == 0.0f) return 0.0f;
    return static_cast<float>(step(a, ampA) | step(b, ampB)) / m_iColors / 2.0f;
}

float BinOpXOr::combine(float a, float b, float ampA, float ampB) const {
    if (ampA == 0.0f || ampB == 0.0f) return 0.0f;
    return static_cast<float>(step(a, ampA) ^ step(b, ampB)) / m_iColors / 2.0f;
}

float BinOpMod::combine(float a, float b, float ampA, float ampB) const {
    if (ampA == 0.0f || ampB == 0.0f) return 0.0f;
    const int32_t ia = step(a, ampA), ib = step(b, ampB);
    if (ib == 0) return static_cast<float>(ia / m_iColors);
    // -1 would overflow the remainder of INT_MIN; its remainder is 0 anyway.
    if (ib == -1) return 0.0f;
    return static_cast<float>(ia % ib) / m_iColors / 2.0f;
}

float BinOpMin::combine(float a, float b, float ampA, float ampB) const {
    if (ampA == 0.0f || ampB == 0.0f) return 0.0f;
    return std::min(a / ampA, b / ampB);
}

float BinOpAtan::combine(float a, float b, float, float) const {
    if (a == 0.0f || b == 0.0f) return 0.0f;
    return qvmath::atan2(a, b) / std::numbers::pi_v<float>;
}

namespace {

template <class T>
std::unique_ptr<BinOp> makeOp() {
    return std::make_unique<T>();
}

struct OpKind {
    const char* name;
    std::unique_ptr<BinOp> (*make)();
};

// Indexed by the draw; any other value adds.
constexpr OpKind kOps[] = {
    {"BinOpAdd", makeOp<BinOpAdd>}, {"BinOpMult", makeOp<BinOpMult>}, {"BinOpSqrt", makeOp<BinOpSqrt>},
    {"BinOpAnd", makeOp<BinOpAnd>}, {"BinOpOr", makeOp<BinOpOr>},     {"BinOpXOr", makeOp<BinOpXOr>},
    {"BinOpMod", makeOp<BinOpMod>}, {"BinOpMin", makeOp<BinOpMin>},   {"BinOpAtan", makeOp<BinOpAtan>},
};

constexpr int kTraceLine = 77;

}  // namespace

std::unique_ptr<BinOp> BinOp::create(RandomSource& random) {
    const int index = random.below(9);
    const OpKind& kind = index >= 0 && index < 9 ? kOps[index] : kOps[0];
    traceMade("BinOp", kTraceLine, "(typeid(*pBinOp)).name()", kind.name);
    return kind.make();
}
