#pragma once
// Where a figure of the line style is anchored, given the position it would
// have: the position itself, a fixed random point, the centre, or a point
// that floats with the position through a random smooth function.

#include <memory>
#include <vector>
#include "engine/FactoryContext.h"

class ChooserSet;
class PatternNetwork;
class RandomSource;

class Anchor {
public:
    explicit Anchor(RandomSource* random) : m_pRandom(random) {}
    virtual ~Anchor() = default;
    Anchor(const Anchor&) = delete;
    Anchor& operator=(const Anchor&) = delete;

    // Replaces (x, y) by the anchored position.
    virtual void position(float& x, float& y) = 0;

protected:
    RandomSource* m_pRandom;  // not owned
};

// Leaves every position as it is.
class AnchorNone : public Anchor {
public:
    using Anchor::Anchor;
    void position(float&, float&) override {}
};

// Anchors everything at one random point of the square.
class AnchorPoint : public Anchor {
public:
    // Draws x, then y (each -1..1).
    explicit AnchorPoint(RandomSource* random);
    void position(float& x, float& y) override;

protected:
    float m_fX;
    float m_fY;
};

// Anchors everything at the centre. Its point is drawn all the same and then
// replaced, so that it uses as many draws as AnchorPoint.
class AnchorCentered : public AnchorPoint {
public:
    explicit AnchorCentered(RandomSource* random);
};

// Moves every position through a symmetric pattern network of two inputs
// and two outputs, taken to -1..1.
class AnchorFloating : public Anchor {
public:
    // Builds the network and sets it up.
    explicit AnchorFloating(RandomSource* random);
    ~AnchorFloating() override;
    void position(float& x, float& y) override;

private:
    std::unique_ptr<PatternNetwork> m_pCalc;
    std::vector<float> m_in;
    std::vector<float> m_out;
};

// One choice of the anchor chooser of `choosers` with `random` when
// `allowed`; otherwise an AnchorNone, made without a draw. Writes the
// factory's trace line. The caller owns the result.
std::unique_ptr<Anchor> CreateAnchor(RandomSource& random, bool allowed, const FactoryContext& context);
