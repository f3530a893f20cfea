#pragma once
// The text style: one short text, in a font drawn at random, written into
// every cell of the drawing's group. Each step makes a new font and a new
// text, so a drawing that spans several steps changes its writing where the
// last one stopped.

#include <memory>

#include "styles/Saver.h"
#include "styles/text/QuorSpel.h"
#include "styles/text/Texter.h"

class Text : public SaverBySubRect {
public:
    explicit Text(StyleScene* scene);
    ~Text() override;

    // Writes the text into the remaining cells of the group, one cell per
    // wait; when it fits none of them, once on the whole screen instead.
    void step() override;
    // The size in points of this step's font: from the widest cell of the
    // layout, whatever its group, against the scene's width.
    int fontSize() const;

private:
    // What the texters read from the scene window.
    class SceneFacts : public TextFacts {
    public:
        explicit SceneFacts(const StyleScene* scene) : m_pScene(scene) {}
        int64_t timeBlankStart() const override;
        int drawingCount() const override;

    private:
        const StyleScene* m_pScene;
    };

    SceneFacts m_facts;
    QuorSpel m_misspeller;
    std::unique_ptr<Texter> m_pTexter;
};
