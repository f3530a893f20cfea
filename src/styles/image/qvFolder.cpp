#include "styles/image/qvFolder.h"

#include "platform/FileSearch.h"

qvFolder::qvFolder(std::string path) : m_sPath(std::move(path)) {
    if (!m_sPath.empty() && m_sPath.back() == platform::kPathSeparator) m_sPath.pop_back();
}

int qvFolder::Find(const std::string& patterns, const bool* keepGoing, bool lowerCase) {
    m_patterns.clear();
    if (!patterns.empty()) {
        size_t start = 0;
        for (;;) {
            const size_t space = patterns.find(' ', start);
            m_patterns.push_back(patterns.substr(start, space - start));
            if (space == std::string::npos) break;
            start = space + 1;
        }
    }

    // A folder given as the bare separator was emptied above; joining puts
    // the separator back.
    std::string folder = m_sPath;
    if (folder.empty() || folder.back() != platform::kPathSeparator) folder += platform::kPathSeparator;

    int count = 0;
    for (const std::string& pattern : m_patterns) {
        if (keepGoing && !*keepGoing) break;
        for (std::string& name : platform::findFiles(folder, pattern)) {
            if (lowerCase)
                for (char& c : name)
                    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            m_found.push_back(std::move(name));
            ++count;
        }
    }
    return count;
}

void qvFolder::AppendPaths(std::vector<std::string>& list) const {
    for (const std::string& name : m_found) list.push_back(m_sPath + platform::kPathSeparator + name);
}
