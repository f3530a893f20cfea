#pragma once
// Combines two wave values into one: the sine calculators join their x and
// y waves with one of these. The bitwise members work on the values turned
// into palette steps, so their result changes one palette entry at a time.

#include <cstdint>
#include <memory>

class RandomSource;

class BinOp {
public:
    // Reads the palette size once.
    BinOp();
    virtual ~BinOp() = default;
    BinOp(const BinOp&) = delete;
    BinOp& operator=(const BinOp&) = delete;

    // `a` lies in -ampA..ampA and `b` in -ampB..ampB.
    virtual float combine(float a, float b, float ampA, float ampB) const = 0;

    // One of the nine members with equal chances; writes the factory's trace
    // line. The caller owns the result.
    static std::unique_ptr<BinOp> create(RandomSource& random);

protected:
    // A wave value as a palette step 0..N.
    int32_t step(float v, float amp) const;

    int32_t m_iColors;
};

// (a + b) / (|ampA| + |ampB|).
class BinOpAdd : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};

// (a b) / (|ampA| |ampB|).
class BinOpMult : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};

// The length of (a, b) over the length of the amplitudes.
class BinOpSqrt : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};

// The palette steps ANDed.
class BinOpAnd : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};

// The palette steps ORed, halved.
class BinOpOr : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};

// The palette steps XORed, halved.
class BinOpXOr : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};

// The first palette step modulo the second, halved; with a second step of 0
// the first step's whole palettes.
class BinOpMod : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};

// The smaller of the two normalised waves.
class BinOpMin : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};

// The direction of (b, a) as a fraction of a half turn; 0 when either is 0.
class BinOpAtan : public BinOp {
public:
    float combine(float a, float b, float ampA, float ampB) const override;
};
