#include "engine/Settings.h"

#include <climits>

#include "engine/Windows1252.h"

namespace {

std::string keyWithIndex(const char* base, int i) { return base + std::to_string(i); }

// A colour weight truncated to the integer that is stored. Weights come from
// 32-bit integers, but one set by the dialog may be anything; out of range it
// is held at the nearest integer rather than converted undefined.
int truncatedWeight(float w) {
    if (!(w == w)) return 0;
    if (w >= 2147483647.0f) return INT_MAX;
    if (w <= -2147483648.0f) return INT_MIN;
    return static_cast<int>(w);
}

}  // namespace

Settings::Settings(platform::ProfileStore store, const std::string& owner)
    : m_store(std::move(store)),
      m_owner(utf8ToWindows1252(owner)),
      m_messages(kMessageCount),
      m_storedMessages(kMessageCount) {
    const platform::ProfileStore::ReadBatch batch(m_store);
    m_installFolder = m_store.readString(kConfigKey, "InstallFolder", "");
#define QV_SETTING(type, Key, get, set, def) m_##Key = static_cast<type>(readInt(#Key, def));
    QV_SETTINGS_IMAGES
    m_folders = parseFolders(m_store.readPrivate(kIniFile, kIniSection, kFoldersKey, "", kFoldersMaxChars));
    m_foldersRead = m_folders;
    QV_SETTINGS_MAIN
    readMessages(m_owner);
    readColors();
    QV_SETTINGS_COLOURS
#undef QV_SETTING
}

int Settings::readInt(const char* key, int def) { return m_store.readInt(kConfigKey, key, def); }

std::string Settings::defaultMessage(int i, const std::string& owner) {
    switch (i) {
        case 0:
            return owner.size() >= 6 ? owner : "Quorvane";
        case 1:
            return "Quorvane Screensaver";
        case 2:
            return kWebAddress;
        default:
            return "";
    }
}

void Settings::readMessages(const std::string& owner) {
    m_lastMessage = -1;
    for (int i = 0; i < kMessageCount; ++i) {
        const auto stored = m_store.readValue(kConfigKey, keyWithIndex("Message", i));
        std::string text = stored ? utf8ToWindows1252(*stored) : defaultMessage(i, owner);
        // Kept where the record's text would not write it back as it is. A
        // value that is not UTF-8 (a file of before) is converted all the same.
        if (stored && isUtf8(*stored) && windows1252ToUtf8(text) != *stored)
            m_storedMessages[static_cast<size_t>(i)] = *stored;
        if (text == "trace") m_traceRequested = true;
        if (!text.empty()) m_lastMessage = i;
        m_messages[static_cast<size_t>(i)] = std::move(text);
    }
}

void Settings::readColors() {
    for (int i = 0; i < kColorCount; ++i) m_colorDefaults[static_cast<size_t>(i)] = defaultColor(i);
    for (int i = 0; i < kColorCount; ++i) {
        const int def = static_cast<int>(m_colorDefaults[static_cast<size_t>(i)]);
        m_colors[static_cast<size_t>(i)] = static_cast<float>(readInt(keyWithIndex("Color", i).c_str(), def));
    }
}

void Settings::setMessage(int i, const std::string& text) {
    m_messages.at(static_cast<size_t>(i)) = text;
    m_storedMessages.at(static_cast<size_t>(i)).clear();
    m_lastMessage = -1;
    for (int j = 0; j < kMessageCount; ++j)
        if (!m_messages[static_cast<size_t>(j)].empty()) m_lastMessage = j;
}

std::string Settings::randomMessage(RandomSource& random) const {
    if (!hasMessages()) return "";
    return m_messages[static_cast<size_t>(random.below(m_lastMessage + 1))];
}

std::vector<std::string> Settings::parseFolders(const std::string& value) {
    std::vector<std::string> folders;
    size_t start = 0;
    for (size_t star = value.find('*'); star != std::string::npos; star = value.find('*', start)) {
        folders.push_back(value.substr(start, star - start));
        start = star + 1;
    }
    if (start < value.size()) folders.push_back(value.substr(start));
    return folders;
}

std::string Settings::joinFolders(const std::vector<std::string>& folders) {
    std::string value;
    for (const auto& f : folders) value += f + "*";
    return value;
}

bool Settings::write(const platform::ProfileValues& values) {
    return m_store.writeValues(kConfigKey, values);
}

namespace {

std::pair<std::string, std::string> entry(const char* key, int value) { return {key, std::to_string(value)}; }

}  // namespace

#define QV_ENTRY(Key) entry(#Key, static_cast<int>(m_##Key))

bool Settings::writeTiming() {
    if (m_MaxTime < m_MinTime) m_MaxTime = m_MinTime;
    return write({QV_ENTRY(Speed), QV_ENTRY(DelayBetweenDrawings), QV_ENTRY(MinTime), QV_ENTRY(MaxTime),
                  QV_ENTRY(BlankScreen), QV_ENTRY(BlankMinutes), QV_ENTRY(IgnoreMouse)});
}

bool Settings::writeAnimation() {
    return write({QV_ENTRY(Animation), QV_ENTRY(AnimationSpeed), QV_ENTRY(UseAnimation),
                  QV_ENTRY(AnimatePause), QV_ENTRY(Colors256Change), QV_ENTRY(ColorsFullChange)});
}

bool Settings::writeStyles() {
    return write({QV_ENTRY(StyleSolid), QV_ENTRY(StyleDots), QV_ENTRY(StyleLines), QV_ENTRY(StyleDistort),
                  QV_ENTRY(StyleBitmap), QV_ENTRY(StyleText), QV_ENTRY(Style3D),
                  QV_ENTRY(StyleOverlappingShapes), QV_ENTRY(SingleDot)});
}

bool Settings::writeText() {
    return write({QV_ENTRY(TextMessages), QV_ENTRY(TextChar), QV_ENTRY(TextDateTime), QV_ENTRY(TextRandom),
                  QV_ENTRY(QuorSpel)});
}

bool Settings::writeMessages() {
    // Non-empty messages move to the front in their order; the rest empty.
    // A message not set since it was read goes back as it was stored.
    std::vector<std::string> compact, stored;
    for (size_t i = 0; i < m_messages.size(); ++i) {
        if (m_messages[i].empty()) continue;
        compact.push_back(m_messages[i]);
        stored.push_back(m_storedMessages[i]);
    }
    m_lastMessage = static_cast<int>(compact.size()) - 1;
    compact.resize(kMessageCount);
    stored.resize(kMessageCount);
    m_messages = std::move(compact);
    m_storedMessages = std::move(stored);
    platform::ProfileValues values;
    for (size_t i = 0; i < m_messages.size(); ++i)
        values.emplace_back(
            keyWithIndex("Message", static_cast<int>(i)),
            m_storedMessages[i].empty() ? windows1252ToUtf8(m_messages[i]) : m_storedMessages[i]);
    return write(values);
}

bool Settings::writeImages() {
    const bool keys = write({QV_ENTRY(ImageOrder), QV_ENTRY(ImagePause), QV_ENTRY(ImagePeriod)});
    // The list as it was read is already stored (and may be longer than was read).
    if (m_folders == m_foldersRead) return keys;
    const bool folders = m_store.writePrivate(kIniFile, kIniSection, kFoldersKey, joinFolders(m_folders));
    if (folders) m_foldersRead = m_folders;
    return keys && folders;
}

bool Settings::writeLayout() {
    return write({QV_ENTRY(SectionFull), QV_ENTRY(SectionCentred), QV_ENTRY(SectionRandom),
                  QV_ENTRY(LayoutFullScreen), QV_ENTRY(LayoutEven), QV_ENTRY(LayoutBar),
                  QV_ENTRY(LayoutLimn)});
}

bool Settings::writeOutline() {
    return write({QV_ENTRY(LayoutRect), QV_ENTRY(LayoutCircle), QV_ENTRY(LayoutTriangle),
                  QV_ENTRY(LayoutSlant), QV_ENTRY(LayoutWavy), QV_ENTRY(LayoutShrinkRandom),
                  QV_ENTRY(LayoutShrinkEven), QV_ENTRY(LayoutCheckered), QV_ENTRY(LayoutSymmetric)});
}

bool Settings::writeColors() {
    platform::ProfileValues values;
    for (int i = 0; i < kColorCount; ++i)
        values.emplace_back(keyWithIndex("Color", i),
                            std::to_string(truncatedWeight(m_colors[static_cast<size_t>(i)])));
    values.push_back(QV_ENTRY(UseBlack));
    values.push_back(QV_ENTRY(UseWhite));
    return write(values);
}

bool Settings::writeImageNext() { return write({QV_ENTRY(ImageNext)}); }

#undef QV_ENTRY
