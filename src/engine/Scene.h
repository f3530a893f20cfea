#pragma once
// What styles and families ask of the scene they draw in, and what the
// running program lends every scene.
//
// The scene window implements Scene and makes itself the current scene while
// it lives; before it exists (and in tests without one) a stand-in answers:
// a true-colour grey palette of 256 entries, always idle, no groups, the
// window's default size of 800 x 600. Tests put a scene of their own in place
// with a SceneScope. Everything below the scene window reaches it through
// scene(), and its settings and random source through the scene.

#include <cstdint>

#include "platform/WinTypes.h"

class RandomSource;
class Settings;

// The program behind the scene: the settings record, the random source that
// seeds every drawing, the mode and the trace log's turn-over. The
// application installs itself; without it a stand-in has no settings and a
// random source of its own.
class SceneHost {
public:
    virtual ~SceneHost() = default;
    virtual Settings* settings() = 0;
    virtual RandomSource& random() = 0;
    virtual bool fullScreen() const = 0;
    virtual bool preview() const = 0;
    // Calendar seconds at which a picture was last shown, 0 for never.
    virtual int64_t timeLastImage() const = 0;
    virtual void setTimeLastImage(int64_t seconds) = 0;
    // A run of drawings starts: the trace log starts a new file when the
    // trace folder was given.
    virtual void newTraceRun() = 0;
};

void setSceneHost(SceneHost* host);
SceneHost& sceneHost();

class Scene {
public:
    virtual ~Scene() = default;

    // No input waits and no stop was requested. Every drawing loop asks.
    virtual bool isIdle() const = 0;
    virtual bool stopRequested() const = 0;
    // Blocks until `ms` milliseconds have passed or input arrives.
    virtual void waitForInput(int64_t ms) = 0;
    // One place of palette rotation when animated and `force` or the tick is
    // due.
    virtual void animatePalette(bool force) = 0;

    // More than 8 bits per pixel: colours are stored as plain RGB.
    virtual bool isTrueColor() const = 0;
    // The number of palette entries, at least 1.
    virtual int colorCount() const = 0;
    // Entry i of the logical palette, 0 <= i < colorCount().
    virtual PALETTEENTRY paletteEntry(int i) const = 0;

    // The entry nearest to the red, green and blue of `cr`: the first of the
    // nearest, searched through every entry; the scene window answers from
    // its memo once its palette is made.
    virtual int nearestPaletteIndex(COLORREF cr) const;

    // The layout's groups, whether this run shades with black, the drawings
    // counted so far and the screen's size.
    virtual int groups() const = 0;
    virtual bool useBlack() const = 0;
    virtual int drawingCount() const = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // The larger of width and height, at least 1.
    int largestSide() const;

    // The program's settings (null before they are read) and random source.
    Settings* settings() const { return sceneHost().settings(); }
    RandomSource& random() const { return sceneHost().random(); }

    // False for a scene without a window of its own: the stand-in that
    // answers while no scene exists (and a test's scene that answers only
    // for the palette and the idle test). Sizes and shading are then the
    // members' own defaults.
    virtual bool isWindow() const { return true; }
};

// The current scene: the last one made current, else the stand-in.
Scene& scene();
// The stand-in itself.
Scene& standInScene();
// Makes `s` current (nullptr: back to the stand-in). The scene must outlive
// its use here.
void setScene(Scene* s);
// The scene made current, null for none (the stand-in does not count).
Scene* currentScene();
// The current scene when it is a window, else null.
Scene* sceneWindow();

// Makes `s` current for the lifetime of the object, then restores the
// previous one.
class SceneScope {
public:
    explicit SceneScope(Scene& s);
    ~SceneScope();
    SceneScope(const SceneScope&) = delete;
    SceneScope& operator=(const SceneScope&) = delete;

private:
    Scene* m_pPrevious;
};
