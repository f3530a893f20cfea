#include "styles/text/QuorSpel.h"

#include <cmath>

#include "styles/text/Texter.h"

namespace {

constexpr int kNone = -1;

// Where a stray punctuation mark comes from. Position 0 is never drawn.
constexpr char kPunctuation[32] = {126, 33, 64, 35, 36, 37, 94, 38, 42, 40, 41, 95, 43, 124, 96,  92,
                                   61,  45, 91, 93, 39, 59, 44, 46, 47, 63, 62, 60, 58, 34,  125, 123};

bool isUpper(int c) { return c >= 'A' && c <= 'Z'; }
bool isLower(int c) { return c >= 'a' && c <= 'z'; }
int lowerOf(int c) { return isUpper(c) ? c - 'A' + 'a' : c; }
int upperOf(int c) { return isLower(c) ? c - 'a' + 'A' : c; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool isLowerVowel(int c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }
bool isPunctuation(int c) {
    return (c >= 33 && c <= 41) || (c >= 43 && c <= 47) || (c >= 58 && c <= 60) || (c >= 62 && c <= 64) ||
           (c >= 91 && c <= 94) || (c >= 123 && c <= 126);
}
int byteAt(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

void append(std::string& out, int c) {
    if (c != kNone && out.size() < QuorSpel::kPassCapacity) out.push_back(static_cast<char>(c));
}

}  // namespace

int QuorSpel::byClass(std::string& w, std::size_t i, int c, int emit) {
    const bool hasNext = i + 1 < w.size();
    // The byte after this one takes its place; this one moves after it.
    const auto swapWithNext = [&] {
        const int next = byteAt(w, i + 1);
        w[i + 1] = static_cast<char>(c);
        return next;
    };
    const int k = lowerOf(c);
    if (k == ' ') {
        if (chance(0.025)) emit = kNone;
    } else if (isPunctuation(k)) {
        if (chance(0.1)) {
            const float f = static_cast<float>(m_pRandom->uniform());
            // f may round up to 1, which lies past the end of the list too.
            const int position = static_cast<int>(std::floor(32.0f * f)) + 1;
            emit = position < 32 ? kPunctuation[position] : kNone;
        }
    } else if (isDigit(k)) {
        if (hasNext && isDigit(byteAt(w, i + 1)) && chance(0.05)) emit = swapWithNext();
    } else if (isLowerVowel(k)) {
        if (hasNext && isLowerVowel(byteAt(w, i + 1)) && chance(0.05)) emit = swapWithNext();
        if (chance(0.05)) emit = "aeiou"[m_pRandom->below(5)];
    } else if (k == 'm') {
        if (chance(0.5)) emit = 'n';
    } else if (k == 'n') {
        if (chance(0.5)) emit = 'm';
    } else {
        if (chance(0.025)) emit = 'a' + m_pRandom->below(26);
        if (isUpper(c) && chance(0.05)) emit = upperOf(emit);
        if (isLower(c) && chance(0.001)) emit = upperOf(emit);
        if (hasNext && chance(0.025) && isLowerVowel(byteAt(w, i + 1)) && chance(0.075))
            emit = swapWithNext();
    }
    return emit;
}

std::string QuorSpel::Misspell(const std::string& text) {
    if (text.size() < 2) return text;
    const int passes = m_pRandom->below(3) + 1;
    std::string w = text;
    std::string out;
    out.reserve(kPassCapacity);
    for (int pass = 0; pass < passes; ++pass) {
        out.clear();
        const std::size_t length = w.size();
        for (std::size_t i = 0; i < length && out.size() < kPassCapacity; ++i) {
            const int c = byteAt(w, i);
            if (c < 32 || c >= 127) {
                out.push_back(w[i]);
                continue;
            }
            int emit = c;
            int dup = kNone;
            // A pair of equal letters: the second may change or one be lost.
            if (i + 1 < length && byteAt(w, i + 1) == c && chance(0.1)) {
                if (c == 'e' && chance(0.2)) {
                    w[i + 1] = 'a';
                } else if (chance(0.2)) {
                    emit = 'a' + m_pRandom->below(26);
                    w[i + 1] = static_cast<char>(emit);
                } else {
                    emit = kNone;
                }
            }
            if (chance(0.005)) emit = kNone;
            if (emit != kNone) emit = byClass(w, i, c, emit);
            if (chance(0.005)) dup = emit;
            append(out, emit);
            append(out, dup);
        }
        if (!out.empty()) w = out;
    }
    return w;
}

std::string textWithTypos(Texter& texter, QuorSpel& misspeller, RandomSource& random, int quorSpel) {
    std::string text = texter.GetText();
    if (texter.MayMisspell() && random.uniform() < quorSpel / 100.0) text = misspeller.Misspell(text);
    return text;
}
