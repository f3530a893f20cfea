#include "platform/WorkGovernor.h"

#include <algorithm>

namespace platform {

WorkGovernor::WorkGovernor(double busyShare)
    : m_restPerWork(busyShare > 0 && busyShare < 1 ? (1 - busyShare) / busyShare : 0) {}

int64_t WorkGovernor::owedAt(int64_t now) const {
    // Work before the first question (start-up) is not counted.
    if (!m_started) return 0;
    const double worked = static_cast<double>(std::max<int64_t>(0, now - m_workFrom));
    const double owed = static_cast<double>(m_owed) + worked * m_restPerWork;
    return static_cast<int64_t>(std::min(owed, static_cast<double>(kMostOwedNs)));
}

void WorkGovernor::waitBegins(int64_t now) {
    m_owed = owedAt(now);
    m_waitFrom = now;
}

void WorkGovernor::waitEnds(int64_t now) {
    m_owed = std::max<int64_t>(0, m_owed - std::max<int64_t>(0, now - m_waitFrom));
    m_workFrom = now;
    m_started = true;
}

int64_t WorkGovernor::restDueMs(int64_t now) {
    if (!m_started) {
        m_started = true;
        m_workFrom = now;
        return 0;
    }
    const int64_t owed = owedAt(now);
    return owed >= kRestChunkNs ? (owed + 999'999) / 1'000'000 : 0;
}

}  // namespace platform
