#include "styles/text/Texter.h"

#include <cstdio>
#include <iterator>

#include "engine/Settings.h"
#include "engine/Trace.h"
#include "platform/Clock.h"

std::string formatDateTime(const platform::LocalTime& t) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int m = t.month >= 1 && t.month <= 12 ? t.month - 1 : 0;
    // The 12-hour clock reads 12 at midnight and at noon.
    const int h = t.hour >= 0 ? t.hour % 12 : 0;
    const int hour12 = h == 0 ? 12 : h;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d %s %d:%02d", t.day, kMonths[m], hour12, t.minute);
    return buffer;
}

std::string formatDuration(int64_t seconds) {
    const long long s = seconds < 0 ? 0 : static_cast<long long>(seconds);
    char buffer[96];
    if (s >= 3600)
        std::snprintf(buffer, sizeof buffer, "%lld hrs %lld mins %lld secs", s / 3600, s / 60 % 60, s % 60);
    else if (s >= 60)
        std::snprintf(buffer, sizeof buffer, "%lld mins %lld secs", s / 60, s % 60);
    else
        std::snprintf(buffer, sizeof buffer, "%lld seconds", s);
    return buffer;
}

std::string TexterTime::GetText() {
    return formatDateTime(platform::localTime(platform::clock().calendarSeconds()));
}

std::string TexterDuration::GetText() {
    return formatDuration(platform::clock().calendarSeconds() - m_pFacts->timeBlankStart());
}

std::string TexterChar::GetText() { return std::string(1, static_cast<char>(33 + m_pRandom->below(222))); }

std::string TexterOverallCount::GetText() {
    // Built by appending: GCC 12 at -O3 warns falsely about the chain of +.
    std::string text = "[";
    text += std::to_string(m_pFacts->drawingCount());
    text += ']';
    return text;
}

std::string TexterMessage::GetText() { return m_pSettings->randomMessage(*m_pRandom); }

namespace {

struct TexterKind {
    const char* name;
    std::unique_ptr<Texter> (*make)(RandomSource*, const Settings&, const TextFacts&);
};

// Indexed by the texter chooser; any other index is the date texter.
constexpr TexterKind kTexters[] = {
    {"TexterTime",
     [](RandomSource* r, const Settings&, const TextFacts&) -> std::unique_ptr<Texter> {
         return std::make_unique<TexterTime>(r);
     }},
    {"TexterDuration",
     [](RandomSource* r, const Settings&, const TextFacts& f) -> std::unique_ptr<Texter> {
         return std::make_unique<TexterDuration>(r, &f);
     }},
    {"TexterChar",
     [](RandomSource* r, const Settings&, const TextFacts&) -> std::unique_ptr<Texter> {
         return std::make_unique<TexterChar>(r);
     }},
    {"TexterOverallCount",
     [](RandomSource* r, const Settings&, const TextFacts& f) -> std::unique_ptr<Texter> {
         return std::make_unique<TexterOverallCount>(r, &f);
     }},
    {"TexterMessage",
     [](RandomSource* r, const Settings& s, const TextFacts&) -> std::unique_ptr<Texter> {
         return std::make_unique<TexterMessage>(r, &s);
     }},
};

constexpr int kTraceLine = 69;

}  // namespace

std::unique_ptr<Texter> CreateTexter(RandomSource& random, const Settings& settings, const TextFacts& facts) {
    const int index =
        settings.choosers().chooser(Family::Texter).choose(random, nullptr, WeightedChooser::kTries);
    const TexterKind& kind =
        index >= 0 && index < static_cast<int>(std::size(kTexters)) ? kTexters[index] : kTexters[0];
    traceMade("Texter", kTraceLine, "(typeid(*pTexter).name())", kind.name);
    return kind.make(&random, settings, facts);
}
