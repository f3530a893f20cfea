#pragma once
// A search for files in one folder by wildcard patterns, collecting the
// names found so that they can be turned into full paths.

#include <string>
#include <vector>

class qvFolder {
public:
    // A trailing separator of `path` is dropped.
    explicit qvFolder(std::string path);

    // Searches for each pattern of `patterns` (separated by single spaces;
    // an empty piece is a pattern that finds nothing) in order and appends
    // the names found. Stops before the next pattern once `keepGoing` (when
    // given) reads false; `lowerCase` lower-cases the names. Returns how
    // many names this call found. A name that fits two patterns is found
    // twice. Subfolders are not searched.
    int Find(const std::string& patterns, const bool* keepGoing = nullptr, bool lowerCase = false);

    // Appends folder, separator and name for every name found, in the order
    // found.
    void AppendPaths(std::vector<std::string>& list) const;

    const std::string& path() const { return m_sPath; }
    const std::vector<std::string>& foundNames() const { return m_found; }
    const std::vector<std::string>& patterns() const { return m_patterns; }

private:
    std::string m_sPath;
    std::vector<std::string> m_found;
    std::vector<std::string> m_patterns;
};
