#pragma once
// Functions through a set of points (knots at increasing positions with a
// value each): straight segments or a natural cubic spline. The noise
// pattern builds them per knot row and per image row.

#include <memory>
#include <vector>

class Interpolator {
public:
    Interpolator() = default;
    virtual ~Interpolator() = default;
    Interpolator(const Interpolator&) = delete;
    Interpolator& operator=(const Interpolator&) = delete;

    // Replaces the points; `knots` increase and are as many as `values`.
    virtual void setPoints(const std::vector<float>& knots, const std::vector<float>& values);
    virtual float value(float x) = 0;

    // Kind 0 (and any unknown kind) straight segments, 1 a cubic spline.
    static std::unique_ptr<Interpolator> create(int kind, const std::vector<float>& knots,
                                                const std::vector<float>& values);

protected:
    // The index i of the first knot >= x, 1 <= i < count, for x strictly
    // inside the knots; the segment found last time is tried first.
    size_t segment(float x);

    std::vector<float> m_xs;
    std::vector<float> m_ys;
    size_t m_iLast = 1;
};

// Straight segments; the end values beyond the ends.
class InterpLinear : public Interpolator {
public:
    float value(float x) override;
};

// A natural cubic spline (no bending at the ends); the end values beyond
// the ends.
class InterpSpline : public Interpolator {
public:
    void setPoints(const std::vector<float>& knots, const std::vector<float>& values) override;
    float value(float x) override;

private:
    std::vector<float> m_bend;  // the second derivative at each knot
    std::vector<float> m_work;
};
