#pragma once
// The settings record: every user setting, read once at start-up from the
// profile store, written back group by group by the configuration program
// (and the image cursor by the image style). It also holds the choosers of
// the random composition.

#include <array>
#include <string>
#include <vector>

#include "engine/ChooserSet.h"
#include "engine/RandomSource.h"
#include "engine/SettingsKeys.h"
#include "platform/ProfileStore.h"

class Settings {
public:
    static constexpr int kMessageCount = 12;
    static constexpr int kColorCount = 12;
    // The registry key of the settings and the private profile file of the
    // image folders.
    static constexpr const char* kConfigKey = "HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config";
    static constexpr const char* kIniFile = "Quorvane5.ini";
    static constexpr const char* kIniSection = "Quorvane";
    static constexpr const char* kFoldersKey = "Folders";
    static constexpr size_t kFoldersMaxChars = 4096;
    static constexpr const char* kWebAddress = "www.quorvane.org";

    // Reads every key from `store`; `owner` is the registered owner name that
    // the first message defaults to. The store holds UTF-8; messages here are
    // Windows-1252, as they are drawn (see Windows1252.h). Folders are file
    // names and keep their bytes.
    explicit Settings(platform::ProfileStore store, const std::string& owner);

#define QV_SETTING(type, Key, get, set, def)   \
    static constexpr type kDefault##Key = def; \
    type get() const { return m_##Key; }       \
    void set(type value) { m_##Key = value; }
    QV_SETTINGS_ALL
#undef QV_SETTING

    const std::string& installFolder() const { return m_installFolder; }
    void setInstallFolder(const std::string& folder) { m_installFolder = folder; }
    const std::vector<std::string>& folders() const { return m_folders; }
    void setFolders(std::vector<std::string> folders) { m_folders = std::move(folders); }

    const std::string& message(int i) const { return m_messages.at(static_cast<size_t>(i)); }
    // Sets a message; it is then written as this text (see storedMessage()).
    void setMessage(int i, const std::string& text);
    // The message as the store holds it (UTF-8), while it has not been set
    // since: writing the messages writes this back unchanged, so that what
    // Windows-1252 lacks is not replaced by "?" in a message nobody edited.
    // Empty when the record's own text writes it back exactly (or it was not
    // stored, or not as UTF-8).
    const std::string& storedMessage(int i) const { return m_storedMessages.at(static_cast<size_t>(i)); }
    int lastMessage() const { return m_lastMessage; }
    bool hasMessages() const { return m_lastMessage >= 0; }
    // One of the messages up to the last non-empty one (which may be an empty
    // one between others), or empty when there are none.
    std::string randomMessage(RandomSource& random) const;
    // The message defaults: the owner name when at least 6 characters long.
    static std::string defaultMessage(int i, const std::string& owner);
    // The default of message `i` for the owner this record was read for.
    std::string messageDefault(int i) const { return defaultMessage(i, m_owner); }

    float color(int i) const { return m_colors.at(static_cast<size_t>(i)); }
    void setColor(int i, float weight) { m_colors.at(static_cast<size_t>(i)) = weight; }
    static float defaultColor(int i) { return i < 3 ? 60.0f : 40.0f; }

    // A message reading exactly "trace" asks for the trace log.
    bool traceRequested() const { return m_traceRequested; }

    // The write groups; each writes its keys in one replacement of the store
    // and returns false when that failed.
    bool writeTiming();
    bool writeAnimation();
    bool writeStyles();
    bool writeText();
    bool writeMessages();
    bool writeImages();
    bool writeLayout();
    bool writeOutline();
    bool writeColors();
    bool writeImageNext();

    ChooserSet& choosers() { return m_choosers; }
    const ChooserSet& choosers() const { return m_choosers; }
    void perturbAll(RandomSource& random) { m_choosers.perturbAll(random); }

    // Splits the stored folder list at every "*"; a piece after the last "*"
    // counts only when it is not empty.
    static std::vector<std::string> parseFolders(const std::string& value);
    static std::string joinFolders(const std::vector<std::string>& folders);

    const platform::ProfileStore& store() const { return m_store; }

private:
    int readInt(const char* key, int def);
    void readMessages(const std::string& owner);
    void readColors();
    bool write(const platform::ProfileValues& values);

    platform::ProfileStore m_store;
    std::string m_installFolder;
    std::vector<std::string> m_folders;
    // The folders as read: an unchanged list is not written back (a list cut
    // at the read limit would lose its end).
    std::vector<std::string> m_foldersRead;
    std::string m_owner;
#define QV_SETTING(type, Key, get, set, def) type m_##Key = def;
    QV_SETTINGS_ALL
#undef QV_SETTING
    std::vector<std::string> m_messages;
    std::vector<std::string> m_storedMessages;
    int m_lastMessage = -1;
    std::array<float, kColorCount> m_colors{};
    std::array<float, kColorCount> m_colorDefaults{};
    bool m_traceRequested = false;
    ChooserSet m_choosers;
};
