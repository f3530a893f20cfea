#pragma once
// Logical palettes.
//
// A CPalette is the program's own table of colours. On a palette display it
// is realised: its entries are loaded into the free entries of the hardware
// palette (10..245, between the twenty static colours), and each logical
// entry then names the hardware entry that shows it. Animating a realised
// palette changes the hardware entries as well, so that whatever was drawn
// with those entries changes colour on the screen without being redrawn. On
// a true-colour display there is no hardware palette: the entries only serve
// as a colour table.
//
// The device context that has a palette selected keeps a pointer to it: a
// palette must stay alive while it is selected into a device context.

#include <cstdint>
#include <vector>

#include "platform/WinTypes.h"

// The description a palette is created from; palNumEntries entries of
// palPalEntry are used (never more than the vector holds).
struct LOGPALETTE {
    uint16_t palVersion = 0x300;
    uint16_t palNumEntries = 0;
    std::vector<PALETTEENTRY> palPalEntry;
};

class CPalette {
public:
    CPalette();
    CPalette(const CPalette&) = delete;
    CPalette& operator=(const CPalette&) = delete;

    // False, leaving the palette invalid, for a version other than 0x300 or
    // no entries.
    bool CreatePalette(const LOGPALETTE& description);
    bool valid() const { return !m_entries.empty(); }
    void DeleteObject();

    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    // Copy entries out or in; the range is cut to the palette. Return the
    // number of entries copied. Setting entries does not change the hardware
    // palette until the palette is realised again.
    unsigned GetPaletteEntries(unsigned first, unsigned count, PALETTEENTRY* entries) const;
    unsigned SetPaletteEntries(unsigned first, unsigned count, const PALETTEENTRY* entries);
    // Replaces the colours of the entries in the range that were created with
    // PC_RESERVED (others keep theirs); when the palette is realised on a
    // palette display, their hardware entries change at once. False for an
    // invalid palette or a range outside it.
    bool AnimatePalette(unsigned first, unsigned count, const PALETTEENTRY* entries);
    // The entry nearest to a colour (squared distance in RGB, the lowest
    // index wins a tie). A palette-index colour within the palette gives its
    // own index. 0 for an invalid palette.
    unsigned GetNearestPaletteIndex(COLORREF color) const;

    // The colour of entry i as a colour reference; entry 0 stands for an
    // index beyond the palette, black for an invalid palette.
    COLORREF entryColor(unsigned i) const {
        if (m_entries.empty()) return 0;
        const PALETTEENTRY& e = m_entries[i < m_entries.size() ? i : 0];
        return RGB(e.peRed, e.peGreen, e.peBlue);
    }
    // The hardware entry that shows logical entry i (entry 0 beyond the
    // palette): the entry it was realised to, or, when the palette is not
    // realised, the hardware entry nearest to its colour.
    uint8_t hardwareIndex(unsigned i) const;
    // The mapping for all entries at once (GetEntryCount() values).
    const uint8_t* hardwareMap() const;

    // Loads the entries into the free hardware entries of a palette display
    // (in order; PC_EXPLICIT entries name a hardware entry instead, entries
    // beyond the free ones take the nearest hardware entry). Returns the
    // number of hardware entries that changed; nothing happens on a
    // true-colour display or for the default palette.
    unsigned realize();
    bool isRealized() const;

    // Identity and a counter of changes, for caches of resolved colours.
    uint64_t id() const { return m_id; }
    uint64_t version() const { return m_version; }

    // The palette every device context starts with: the twenty static
    // colours, always shown by the static hardware entries.
    static CPalette& defaultPalette();

private:
    struct Stock {};
    explicit CPalette(Stock);

    std::vector<PALETTEENTRY> m_entries;
    mutable std::vector<uint8_t> m_hardware;
    // The hardware palette version the nearest-entry mapping of an
    // unrealised palette was made for; kStale after realisation.
    mutable uint64_t m_mappedFor;
    uint64_t m_id;
    uint64_t m_version = 0;
    bool m_stock = false;
};
