#pragma once
// What a colour value needs to know about the scene it is drawn in: whether
// the display shows plain RGB (true colour) or maps colours through the
// palette, how many palette entries there are, and what they hold. The scene
// window provides this once it exists; until then (and in tests) a fixed
// true-colour table stands in.

#include <vector>

#include "platform/WinTypes.h"

class ColorScene {
public:
    virtual ~ColorScene() = default;
    // More than 8 bits per pixel: colours are stored as plain RGB.
    virtual bool isTrueColor() const = 0;
    // The number of palette entries, at least 1.
    virtual int colorCount() const = 0;
    // Entry i of the logical palette, 0 <= i < colorCount().
    virtual PALETTEENTRY paletteEntry(int i) const = 0;
};

// A palette held by value: the stand-in scene, and a ready-made table for a
// scene window that keeps its palette this way.
class ColorTable : public ColorScene {
public:
    // A true-colour table of 256 entries running from black to white.
    ColorTable();
    ColorTable(bool trueColor, std::vector<PALETTEENTRY> entries);

    bool isTrueColor() const override { return m_bTrueColor; }
    int colorCount() const override { return static_cast<int>(m_entries.size()); }
    PALETTEENTRY paletteEntry(int i) const override { return m_entries[static_cast<size_t>(i)]; }

    void setTrueColor(bool trueColor) { m_bTrueColor = trueColor; }
    std::vector<PALETTEENTRY>& entries() { return m_entries; }

private:
    bool m_bTrueColor = true;
    std::vector<PALETTEENTRY> m_entries;
};

// The scene colours are read from. Passing nullptr returns to the stand-in.
// The scene must outlive its use here.
void setColorScene(const ColorScene* scene);
const ColorScene& colorScene();

// Makes `scene` current for the lifetime of the object, then restores the
// previous one.
class ColorSceneScope {
public:
    explicit ColorSceneScope(const ColorScene& scene);
    ~ColorSceneScope();
    ColorSceneScope(const ColorSceneScope&) = delete;
    ColorSceneScope& operator=(const ColorSceneScope&) = delete;

private:
    const ColorScene* m_pPrevious;
};
