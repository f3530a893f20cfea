#pragma once
// The "unspell-checker": adds plausible typing errors to a text. Dropped,
// doubled and swapped letters, neighbouring vowels, m for n, stray
// punctuation, now and then a capital.

#include <cstddef>
#include <string>

#include "engine/RandomSource.h"

class QuorSpel {
public:
    // Each pass writes at most this many bytes; a pass that reaches it stops
    // there and the rest of the text is lost.
    static constexpr std::size_t kPassCapacity = 1024;

    explicit QuorSpel(RandomSource* random) : m_pRandom(random) {}
    virtual ~QuorSpel() = default;

    // `text` after one to three passes of typing errors. Bytes outside
    // 32..126 pass through untouched; a text shorter than two bytes comes
    // back as it is without a draw.
    std::string Misspell(const std::string& text);

private:
    bool chance(double p) { return m_pRandom->uniform() < p; }
    // The error for the class of `c`, the byte at `i` of `w`, whose output so
    // far is `emit`; may change the byte after it.
    int byClass(std::string& w, std::size_t i, int c, int emit);

    RandomSource* m_pRandom;
};

class Texter;

// The texter's next text; when the texter allows it, one draw from `random`
// decides whether it goes through the misspeller, with a chance of
// `quorSpel` (the setting, 0..100) in a hundred.
std::string textWithTypos(Texter& texter, QuorSpel& misspeller, RandomSource& random, int quorSpel);
