#pragma once
// The texters: what the text style writes. One of the user's messages, the
// date and time, a single character, or a figure of the current run.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/RandomSource.h"
#include "platform/LocalTime.h"

class Settings;

// What the texters read from the scene window the text is drawn for. The
// scene window answers these; tests give fixed answers.
class TextFacts {
public:
    virtual ~TextFacts() = default;
    // Calendar seconds at which the scene window was made (its blanking start).
    virtual int64_t timeBlankStart() const = 0;
    // Drawings counted so far.
    virtual int drawingCount() const = 0;
};

class Texter {
public:
    explicit Texter(RandomSource* random) : m_pRandom(random) {}
    virtual ~Texter() = default;
    virtual std::string GetText() = 0;
    // Whether the text may pass through the misspeller.
    virtual bool MayMisspell() const { return true; }

protected:
    RandomSource* m_pRandom;
};

// The local date and time: day of month, abbreviated month, hour of the
// 12-hour clock and minutes ("7 Mar 3:05").
class TexterTime : public Texter {
public:
    using Texter::Texter;
    std::string GetText() override;
    bool MayMisspell() const override { return false; }
};

// How long the scene window has been up.
class TexterDuration : public Texter {
public:
    TexterDuration(RandomSource* random, const TextFacts* facts) : Texter(random), m_pFacts(facts) {}
    std::string GetText() override;

private:
    const TextFacts* m_pFacts;
};

// One character of the western code page, 33..254.
class TexterChar : public Texter {
public:
    using Texter::Texter;
    std::string GetText() override;
    bool MayMisspell() const override { return false; }
};

// The number of drawings so far, in brackets.
class TexterOverallCount : public Texter {
public:
    TexterOverallCount(RandomSource* random, const TextFacts* facts) : Texter(random), m_pFacts(facts) {}
    std::string GetText() override;

private:
    const TextFacts* m_pFacts;
};

// One of the user's messages; empty when there are none.
class TexterMessage : public Texter {
public:
    TexterMessage(RandomSource* random, const Settings* settings) : Texter(random), m_pSettings(settings) {}
    std::string GetText() override;

private:
    const Settings* m_pSettings;
};

// One choice of the texter chooser of `settings` with `random`, which the
// texter keeps. `settings` and `facts` must outlive the texter. Writes the
// factory's trace line.
std::unique_ptr<Texter> CreateTexter(RandomSource& random, const Settings& settings, const TextFacts& facts);

// The texts themselves, for a given moment.
std::string formatDateTime(const platform::LocalTime& t);
// Seconds as "59 seconds", "1 mins 1 secs" or "1 hrs 1 mins 1 secs"; a
// negative span (the calendar was set back) counts as none.
std::string formatDuration(int64_t seconds);
