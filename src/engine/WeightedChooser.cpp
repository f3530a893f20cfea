#include "engine/WeightedChooser.h"

#include <algorithm>

void WeightedChooser::build(const std::vector<float>& weights, bool keepAsDefaults) {
    const size_t n = weights.size();
    // An empty list would leave a table that choose() cannot use; keep the
    // one there is instead.
    if (n == 0) return;
    m_cumulative.assign(n, 0.0f);
    float sum = 0.0f;
    for (float w : weights) sum += w;
    float acc = 0.0f;
    for (size_t i = 0; i + 1 < n; ++i) {
        if (sum != 0.0f) {
            acc = acc + weights[i] / sum;
            m_cumulative[i] = acc;
        }
    }
    // The last entry is exactly 1 whatever the sum: a table of zeros always
    // yields its last member.
    m_cumulative[n - 1] = 1.0f;
    if (keepAsDefaults) m_defaults = m_cumulative;
}

int WeightedChooser::choose(RandomSource& random, const std::vector<int>* excluded, int maxTries) const {
    int tries = 0;
    bool accepted = true;
    int index = 0;
    do {
        const float u = static_cast<float>(random.uniform());
        index = 0;
        const auto found =
            std::find_if(m_cumulative.begin(), m_cumulative.end(), [u](float c) { return u < c; });
        if (found != m_cumulative.end()) {
            index = static_cast<int>(found - m_cumulative.begin());
            accepted = true;
            if (excluded) {
                ++tries;
                if (tries < maxTries &&
                    std::find(excluded->begin(), excluded->end(), index) != excluded->end())
                    accepted = false;
            }
        }
        // A draw that rounds to 1.0 finds no entry: member 0, and the verdict
        // of the previous draw stands.
    } while (!accepted);
    return index;
}

std::vector<float> WeightedChooser::differences(const std::vector<float>& table) {
    std::vector<float> w(table.size());
    float previous = 0.0f;
    for (size_t i = 0; i < table.size(); ++i) {
        w[i] = table[i] - previous;
        previous = table[i];
    }
    return w;
}

void WeightedChooser::perturb(RandomSource& random) {
    const double u = random.uniform();
    if (u < 1.0 / 6.0) {
        // Start again from randomly scaled defaults.
        std::vector<float> weights = differences(m_defaults);
        for (float& w : weights) w = static_cast<float>(w * random.uniform() * 1000);
        build(weights, false);
        return;
    }
    std::vector<float> weights = differences(m_cumulative);
    for (float& w : weights) {
        const float scaled = static_cast<float>(w * random.uniform() * 1000);
        // A member that has weight never falls to zero.
        w = (w > 0.0f && scaled < 1.0f) ? 1.0f : scaled;
    }
    build(weights, false);
}

WeightedChooser WeightedChooser::leavingOut(const std::vector<int>& members) const {
    WeightedChooser copy = *this;
    if (members.empty() || empty()) return copy;
    std::vector<float> weights = differences(m_cumulative);
    for (int m : members)
        if (m >= 0 && m < size()) weights[static_cast<size_t>(m)] = 0.0f;
    copy.build(weights, false);
    return copy;
}

float WeightedChooser::weight(int index) const {
    if (index < 0 || index >= size()) return 0.0f;
    return m_cumulative[index] - (index > 0 ? m_cumulative[index - 1] : 0.0f);
}

void addIndexOf(const std::vector<int>& codes, int code, std::vector<int>& excluded) {
    const auto it = std::find(codes.begin(), codes.end(), code);
    if (it != codes.end()) excluded.push_back(static_cast<int>(it - codes.begin()));
}

bool isExcluded(const std::vector<int>& codes, int code, const std::vector<int>& excluded) {
    const auto it = std::find(codes.begin(), codes.end(), code);
    if (it == codes.end()) return false;
    const int index = static_cast<int>(it - codes.begin());
    return std::find(excluded.begin(), excluded.end(), index) != excluded.end();
}
