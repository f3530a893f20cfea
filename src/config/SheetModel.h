#pragma once
// The values a settings sheet shows while it is open, kept apart from any
// toolkit: read from the record (and clamped into each control's range),
// changed by the controls, reset to the page's defaults or to its calm
// values, and written back page by page, each page with the record's write
// operation for its group. What nobody changed is never written, so that a
// stored value out of range or mistyped stays as it was until its control
// is moved. A native sheet (one without widgets of our own) drives this.

#include <string>
#include <vector>

#include "config/SheetDescription.h"

namespace sheet {

class Model {
public:
    // `bitsPerPixel` of the display decides whether the animation page's
    // controls can be used.
    Model(const Settings& settings, int bitsPerPixel = 32);

    const std::vector<Page>& pages() const { return sheet::pages(); }
    const Control& control(size_t page, size_t index) const { return pages()[page].controls[index]; }

    // A numeric control's value, within its range.
    int value(size_t page, size_t index) const { return m_pages[page][index].value; }
    // A text control's text, as UTF-8 (what a person types and reads).
    const std::string& text(size_t page, size_t index) const { return m_pages[page][index].text; }
    const std::vector<std::string>& folders() const { return m_folders; }
    // Whether the control can be used now (its enabling check box is ticked,
    // and colour animation is possible for the animation page's).
    bool enabled(size_t page, size_t index) const;

    // Sets a numeric control, clamped into its range. A slider of an ordered
    // pair takes its partner along when it passes it.
    void setValue(size_t page, size_t index, int value);
    void setText(size_t page, size_t index, const std::string& utf8);
    void setFolders(std::vector<std::string> folders);
    // Adds a folder at the end of the list, unless it is there already.
    // What to tell the user when it cannot be stored (a "*" in its name:
    // the list is stored with "*" between folders); empty otherwise.
    std::string addFolder(const std::string& folder);
    void removeFolder(size_t index);
    // The page's "Reset to defaults": every control but the folder list.
    void reset(size_t page);
    // The page's "Reduce Chaos" values; nothing when it has none.
    void reduceChaos(size_t page);

    // "Start at first image next run": the images page, when written, sets
    // the image cursor back to the first image.
    void startAtFirstImage(size_t page) { m_startFirstPage = page; }

    // Something on the page differs from what was read (or last written).
    bool changed(size_t page) const;
    bool changed(size_t page, size_t index) const;
    // What the page's edited text fields would lose when stored (see
    // charactersLost()).
    std::string lost(size_t page) const;
    // Puts the page's changed values into `settings` and, when there were
    // any, writes the page's group. False when the write failed; the page
    // then still counts as changed.
    bool write(size_t page, Settings& settings);
    // Puts every value as it stands, changed or not, into `target` (a record
    // on the preview's own store) and writes all its groups; the image
    // cursor goes along. What counts as changed stays as it is. False when
    // a write failed.
    bool writeAll(Settings& target) const;

private:
    struct Slot {
        int value = 0;
        int read = 0;
        std::string text;
        std::string textRead;
    };
    const Settings& m_settings;
    bool m_animation = true;
    std::vector<std::vector<Slot>> m_pages;
    std::vector<std::string> m_folders;
    std::vector<std::string> m_foldersRead;
    size_t m_startFirstPage = static_cast<size_t>(-1);
};

// The characters of `utf8` that Windows-1252 has no place for, each once in
// the order they first appear; empty when the text keeps every character.
std::string charactersLost(const std::string& utf8);

}  // namespace sheet
