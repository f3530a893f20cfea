#pragma once
// A table of cumulative weights from which a family's member is drawn, with
// an exclusion list and a random re-weighting that makes the program's
// preferences drift in the course of a run.

#include <cstdint>
#include <vector>

#include "engine/RandomSource.h"

class WeightedChooser {
public:
    // Every caller of choose() allows this many draws.
    static constexpr int kTries = 10;

    // Replaces the table from raw, non-negative weights (at least one).
    void build(const std::vector<float>& weights, bool keepAsDefaults);
    // The index of a member; a member in `excluded` is refused on the first
    // maxTries - 1 draws only.
    int choose(RandomSource& random, const std::vector<int>* excluded = nullptr, int maxTries = kTries) const;
    void perturb(RandomSource& random);
    // A copy in which the listed members have no weight, the others keeping
    // their shares among themselves: a member the program cannot make yet is
    // left out of the choice while the draws stay one per choice.
    WeightedChooser leavingOut(const std::vector<int>& members) const;

    bool empty() const { return m_cumulative.empty(); }
    int size() const { return static_cast<int>(m_cumulative.size()); }
    // A member's share of the whole table (0..1).
    float weight(int index) const;
    const std::vector<float>& cumulative() const { return m_cumulative; }
    const std::vector<float>& defaults() const { return m_defaults; }

private:
    static std::vector<float> differences(const std::vector<float>& table);

    std::vector<float> m_cumulative;
    std::vector<float> m_defaults;
};

// Appends to `excluded` the position of the first occurrence of `code` in
// `codes`, when there is one.
void addIndexOf(const std::vector<int>& codes, int code, std::vector<int>& excluded);
// True when `code` occurs in `codes` and its first position is in `excluded`.
bool isExcluded(const std::vector<int>& codes, int code, const std::vector<int>& excluded);
