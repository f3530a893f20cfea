#pragma once
// A small Lindenmayer system and the turtle that walks its word. Rules
// rewrite single characters; the word is rewritten for some generations,
// never growing much past kMaxLength characters. The turtle's path is then
// measured and handed out command by command, fitted to the normalised
// square (-1..1 on both axes).
//
// Turtle commands: F, L, R move forward drawing; f moves without drawing;
// + and > turn by `turn` degrees, - and < turn back; [ saves the position
// and heading, ] restores them (ignored with nothing saved). Every other
// character only takes part in the rewriting.

#include <map>
#include <string>
#include <vector>

class LSystem {
public:
    // Rewriting stops once the word passes this many characters.
    static constexpr size_t kMaxLength = 65534;

    LSystem(std::string axiom, float x0, float y0, float turn, float stepLength);

    // Stores the rule, then derives the companion rules from it: R mirrors
    // L, B follows T with the sides exchanged, t and b run B and t backwards.
    void addRule(char symbol, const std::string& replacement);
    // Rewrites the word `generations` times (fewer when it grows past
    // kMaxLength), then measures the path and starts it over.
    void expand(int generations);
    // The next command's start and end, fitted; `drawn` for a drawing move.
    // False at the end of the word.
    bool next(float& x1, float& y1, float& x2, float& y2, bool& drawn);

    const std::string& result() const { return m_sResult; }
    const std::map<char, std::string>& rules() const { return m_rules; }
    size_t index() const { return m_index; }
    bool fitted() const { return m_bFitted; }
    // Whether each axis of the measured path has an extent to fit.
    bool fitsX() const { return m_bFitted && m_bSpanX; }
    bool fitsY() const { return m_bFitted && m_bSpanY; }
    float minX() const { return m_fMinX; }
    float maxX() const { return m_fMaxX; }
    float minY() const { return m_fMinY; }
    float maxY() const { return m_fMaxY; }

    // Whether a character draws, moves or turns the turtle.
    static bool draws(char c) { return c == 'F' || c == 'L' || c == 'R'; }
    static bool moves(char c) { return draws(c) || c == 'f'; }

private:
    // Applies one command to the turtle.
    void apply(char c);
    // Runs the whole word to find the path's box, then starts over.
    void measure();
    float fitX(float x) const;
    float fitY(float y) const;

    std::map<char, std::string> m_rules;
    std::string m_sResult;
    float m_fX0;
    float m_fY0;
    float m_fX;
    float m_fY;
    float m_fHeading = 0;
    float m_fTurn;
    float m_fStep;
    size_t m_index = 0;
    std::vector<float> m_stackX;
    std::vector<float> m_stackY;
    std::vector<float> m_stackHeading;
    float m_fMinX = 1000000;
    float m_fMaxX = -1000000;
    float m_fMinY = 1000000;
    float m_fMaxY = -1000000;
    bool m_bFitted = false;
    bool m_bSpanX = false;
    bool m_bSpanY = false;
};
