#include "platform/Palette.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>

#include "platform/Surface.h"

namespace {

constexpr uint64_t kStale = std::numeric_limits<uint64_t>::max();
constexpr int kFirstFree = CDisplay::kReservedEntries / 2;      // 10
constexpr int kEndFree = 256 - CDisplay::kReservedEntries / 2;  // 246

uint64_t nextPaletteId() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

int distance(const PALETTEENTRY& e, int r, int g, int b) {
    const int dr = e.peRed - r, dg = e.peGreen - g, db = e.peBlue - b;
    return dr * dr + dg * dg + db * db;
}

int distance(uint32_t c, int r, int g, int b) {
    const int dr = GetRValue(c) - r, dg = GetGValue(c) - g, db = GetBValue(c) - b;
    return dr * dr + dg * dg + db * db;
}

// The nearest of the 256 hardware entries; the lowest index wins a tie.
uint8_t nearestHardware(const std::array<uint32_t, 256>& hardware, COLORREF color) {
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int best = 0, bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 256 && bestDistance; ++i) {
        const int d = distance(hardware[static_cast<size_t>(i)], r, g, b);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

}  // namespace

CPalette::CPalette() : m_mappedFor(kStale), m_id(nextPaletteId()) {}

CPalette::CPalette(Stock) : CPalette() {
    const auto& statics = CDisplay::staticEntries();
    m_entries.assign(statics.begin(), statics.end());
    m_hardware.resize(m_entries.size());
    for (size_t i = 0; i < m_hardware.size(); ++i)
        m_hardware[i] = static_cast<uint8_t>(i < kFirstFree ? i : i - kFirstFree + kEndFree);
    m_stock = true;
}

CPalette& CPalette::defaultPalette() {
    static CPalette stock{Stock{}};
    return stock;
}

bool CPalette::CreatePalette(const LOGPALETTE& description) {
    DeleteObject();
    const size_t n = std::min<size_t>(description.palNumEntries, description.palPalEntry.size());
    if (description.palVersion != 0x300 || n == 0) return false;
    m_entries.assign(description.palPalEntry.begin(),
                     description.palPalEntry.begin() + static_cast<std::ptrdiff_t>(n));
    m_hardware.assign(n, 0);
    return true;
}

void CPalette::DeleteObject() {
    if (m_stock) return;
    m_entries.clear();
    m_hardware.clear();
    // A new identity: whatever was realised under the old one is not ours.
    m_id = nextPaletteId();
    m_mappedFor = kStale;
    ++m_version;
}

unsigned CPalette::GetPaletteEntries(unsigned first, unsigned count, PALETTEENTRY* entries) const {
    if (!entries || first >= m_entries.size()) return 0;
    count = std::min<unsigned>(count, static_cast<unsigned>(m_entries.size()) - first);
    std::copy_n(m_entries.begin() + first, count, entries);
    return count;
}

unsigned CPalette::SetPaletteEntries(unsigned first, unsigned count, const PALETTEENTRY* entries) {
    if (m_stock || !entries || first >= m_entries.size()) return 0;
    count = std::min<unsigned>(count, static_cast<unsigned>(m_entries.size()) - first);
    std::copy_n(entries, count, m_entries.begin() + first);
    m_mappedFor = kStale;
    ++m_version;
    return count;
}

bool CPalette::isRealized() const {
    const CDisplay& d = CDisplay::instance();
    return !m_stock && valid() && d.isPaletteDevice() && d.realizedPalette() == m_id;
}

unsigned CPalette::realize() {
    CDisplay& d = CDisplay::instance();
    if (m_stock || !valid() || !d.isPaletteDevice()) return 0;
    std::array<PALETTEENTRY, 256> wanted;
    const auto& hardware = d.hardwarePalette();
    for (size_t i = 0; i < 256; ++i)
        wanted[i] = {static_cast<BYTE>(GetRValue(hardware[i])), static_cast<BYTE>(GetGValue(hardware[i])),
                     static_cast<BYTE>(GetBValue(hardware[i])), 0};
    int next = kFirstFree;
    std::vector<size_t> overflow;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const PALETTEENTRY& e = m_entries[i];
        if (e.peFlags & PC_EXPLICIT) {
            m_hardware[i] = e.peRed;  // the low byte of the hardware index
        } else if (next < kEndFree) {
            m_hardware[i] = static_cast<uint8_t>(next);
            wanted[static_cast<size_t>(next++)] = {e.peRed, e.peGreen, e.peBlue, 0};
        } else {
            overflow.push_back(i);
        }
    }
    // Only what differs is written, so that realising the same palette on
    // every paint leaves the hardware palette (and its version) alone.
    unsigned changed = 0;
    int lo = 256, hi = -1;
    for (int h = kFirstFree; h < next; ++h) {
        const PALETTEENTRY& w = wanted[static_cast<size_t>(h)];
        if (hardware[static_cast<size_t>(h)] != RGB(w.peRed, w.peGreen, w.peBlue)) {
            ++changed;
            lo = std::min(lo, h);
            hi = h;
        }
    }
    if (changed) d.setHardwareEntries(lo, hi - lo + 1, wanted.data() + lo);
    for (size_t i : overflow)
        m_hardware[i] = nearestHardware(d.hardwarePalette(), entryColor(static_cast<unsigned>(i)));
    d.setRealizedPalette(m_id);
    m_mappedFor = kStale;
    ++m_version;
    return changed;
}

const uint8_t* CPalette::hardwareMap() const {
    if (m_stock || isRealized()) return m_hardware.data();
    const CDisplay& d = CDisplay::instance();
    if (m_mappedFor != d.paletteVersion()) {
        for (size_t i = 0; i < m_entries.size(); ++i)
            m_hardware[i] = nearestHardware(d.hardwarePalette(), entryColor(static_cast<unsigned>(i)));
        m_mappedFor = d.paletteVersion();
    }
    return m_hardware.data();
}

uint8_t CPalette::hardwareIndex(unsigned i) const {
    if (m_entries.empty()) return 0;
    return hardwareMap()[i < m_entries.size() ? i : 0];
}

bool CPalette::AnimatePalette(unsigned first, unsigned count, const PALETTEENTRY* entries) {
    if (m_stock || !entries || first >= m_entries.size()) return false;
    count = std::min<unsigned>(count, static_cast<unsigned>(m_entries.size()) - first);
    CDisplay& d = CDisplay::instance();
    const bool realized = isRealized();
    // The hardware palette as it is, with the animated entries replaced;
    // written back in one piece covering every entry that changed.
    std::array<PALETTEENTRY, 256> hardware;
    for (size_t h = 0; h < 256; ++h) {
        const uint32_t c = d.hardwarePalette()[h];
        hardware[h] = {static_cast<BYTE>(GetRValue(c)), static_cast<BYTE>(GetGValue(c)),
                       static_cast<BYTE>(GetBValue(c)), 0};
    }
    int lo = 256, hi = -1;
    for (unsigned k = 0; k < count; ++k) {
        PALETTEENTRY& e = m_entries[first + k];
        if (!(e.peFlags & PC_RESERVED)) continue;
        e.peRed = entries[k].peRed;
        e.peGreen = entries[k].peGreen;
        e.peBlue = entries[k].peBlue;
        if (!realized || (e.peFlags & PC_EXPLICIT)) continue;
        const int h = m_hardware[first + k];
        if (h < kFirstFree || h >= kEndFree) continue;  // never a static colour
        hardware[static_cast<size_t>(h)] = {e.peRed, e.peGreen, e.peBlue, 0};
        lo = std::min(lo, h);
        hi = std::max(hi, h);
    }
    if (hi >= lo) d.setHardwareEntries(lo, hi - lo + 1, hardware.data() + lo);
    if (!realized) m_mappedFor = kStale;
    ++m_version;
    return true;
}

unsigned CPalette::GetNearestPaletteIndex(COLORREF color) const {
    if (m_entries.empty()) return 0;
    if (isPaletteIndex(color) && (color & 0xFFFF) < m_entries.size()) return color & 0xFFFF;
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    unsigned best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < m_entries.size() && bestDistance; ++i) {
        const int d = distance(m_entries[i], r, g, b);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<unsigned>(i);
        }
    }
    return best;
}
