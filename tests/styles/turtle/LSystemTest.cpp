#include "styles/StyleSupport.h"
#include "styles/turtle/LSystem.h"
#include "styles/turtle/Turtle.h"

namespace {

struct Move {
    float x1, y1, x2, y2;
    bool drawn;
};

std::vector<Move> walk(LSystem& l) {
    std::vector<Move> out;
    Move s{};
    while (l.next(s.x1, s.y1, s.x2, s.y2, s.drawn)) out.push_back(s);
    return out;
}

}  // namespace

TEST(LSystem, RewritingStopsPastTheCap) {
    LSystem l("F", 0, 0, 90, 0.05f);
    l.addRule('F', "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF");  // 32 times longer each generation
    l.expand(10);
    // 32^3 is below the cap: a fourth generation stops a rule's length past it, no fifth.
    EXPECT_TRUE(l.result().size() > LSystem::kMaxLength && l.result().size() <= LSystem::kMaxLength + 32);
    // A word already past the cap is not rewritten again.
    const size_t length = l.result().size();
    l.expand(3);
    EXPECT_EQ(l.result().size(), length);

    // Short of the cap every generation is complete.
    LSystem s("F+F", 0, 0, 90, 1);
    s.addRule('F', "F-F");
    s.expand(3);
    EXPECT_EQ(s.result().size(), 31u);  // 3, 7, 15, 31
}

TEST(LSystem, FitsThePathToTheSquareButNotAFlatAxis) {
    LSystem l("FF+F+F", 0, 0, 90, 1);
    l.expand(0);
    ASSERT_TRUE(l.fitsX() && l.fitsY());
    float minX = 9, maxX = -9, minY = 9, maxY = -9;
    int drawn = 0;
    for (const Move& s : walk(l)) {
        minX = std::min({minX, s.x1, s.x2}), maxX = std::max({maxX, s.x1, s.x2});
        minY = std::min({minY, s.y1, s.y2}), maxY = std::max({maxY, s.y1, s.y2});
        drawn += s.drawn;
    }
    EXPECT_EQ(drawn, 4);
    for (float edge : {-minX, maxX, -minY, maxY}) EXPECT_NEAR(edge, 1, 1e-5);
    // Straight up: the trace of x from cos(90 degrees) in floats is not stretched.
    LSystem up("+FFFF", 0, 0, 90, 0.05f);
    up.expand(0);
    EXPECT_TRUE(!up.fitsX() && up.fitsY());
    for (const Move& s : walk(up))
        EXPECT_TRUE(std::fabs(s.x1) < 1e-6 && std::fabs(s.x2) < 1e-6 && s.y1 >= -1 && s.y2 <= 1);
    // A long climb, one step aside: not blown up to the cell's width.
    const std::string word = "+" + std::string(3000, 'F') + "-F+";
    LSystem climb(word, 0.25f, 0, 90, 1);
    climb.expand(0);
    EXPECT_FALSE(climb.fitsX());
    for (const Move& s : walk(climb)) EXPECT_NEAR(s.x2, 0.25f, 0.5f);
}

TEST(LSystem, UnmatchedClosingBracketsAreIgnored) {
    LSystem l("]]F]F", 0, 0, 90, 1);
    l.expand(0);
    const std::vector<Move> path = walk(l);
    ASSERT_EQ(path.size(), 5u);
    // The two moves follow one another along x.
    EXPECT_TRUE(path[2].x1 == -1 && path[4].x2 == 1 && path[4].x1 == path[2].x2);

    // A matched pair returns to where it opened.
    LSystem b("F[+F]F", 0, 0, 90, 1);
    b.expand(0);
    const std::vector<Move> p = walk(b);
    ASSERT_EQ(p.size(), 6u);
    EXPECT_TRUE(p[4].x2 == p[0].x2 && p[4].y2 == p[0].y2 && p[5].x1 == p[0].x2);
}

TEST(LSystem, AWordOfTurnsOrOfNothingDrawsNothing) {
    for (const char* word : {"+-<>+++TBtb", "", "[[[", "]]]"}) {
        LSystem l(word, 0, 0, 45, 0.05f);
        l.expand(2);
        EXPECT_FALSE(l.fitsX() || l.fitsY()) << word;
        for (const Move& s : walk(l))
            EXPECT_TRUE(!s.drawn && std::isfinite(s.x2) && std::isfinite(s.y2)) << word;
    }
    // Moves of no length: a path that is one point.
    LSystem l("FFF", 0, 0, 45, 0);
    l.expand(1);
    for (const Move& s : walk(l)) EXPECT_FALSE(s.drawn);
}

TEST(TurtleInvention, RulesAreWellBracketedAndMostlyAvoidTheirOwnPath) {
    for (int seed = 1; seed <= 40; ++seed) {
        RandomSource random(seed);
        std::unique_ptr<LSystem> l = Turtle::invent(random);
        const auto& rules = l->rules();
        EXPECT_EQ(rules.size(), 8u) << seed;  // F, L, T, f and R, B, t, b
        for (const auto& [symbol, rule] : rules) {
            int depth = 0;
            for (char c : rule) {
                depth += c == '[' ? 1 : c == ']' ? -1 : 0;
                EXPECT_GE(depth, 0) << seed << " " << symbol;
            }
            EXPECT_EQ(depth, 0) << seed << " " << symbol << " " << rule;
        }
        const std::string& f = rules.at('f');
        EXPECT_TRUE(f.size() >= 3u && f.size() <= 8u && f.find_first_not_of('f') == std::string::npos) << f;
        EXPECT_LE(l->result().size(), LSystem::kMaxLength + 64);
        EXPECT_TRUE(l->fitted());
    }
}
