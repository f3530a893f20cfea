#include "config/SheetModel.h"

#include <algorithm>
#include <cstring>

#include "engine/Windows1252.h"

namespace sheet {

Model::Model(const Settings& settings, int bitsPerPixel)
    : m_settings(settings), m_animation(animationPossible(bitsPerPixel)) {
    for (const Page& page : sheet::pages()) {
        std::vector<Slot> slots(page.controls.size());
        for (size_t i = 0; i < slots.size(); ++i) {
            const Control& c = page.controls[i];
            Slot& s = slots[i];
            if (c.numeric()) {
                s.value = std::clamp(sheet::value(settings, c), c.minimum, c.maximum);
            } else if (c.kind == Kind::Text) {
                // What the store holds, when the record's own text would not
                // write it back exactly: shown as it is, kept unless edited.
                const std::string& stored = settings.storedMessage(c.index);
                s.text = stored.empty() ? windows1252ToUtf8(settings.message(c.index)) : stored;
            }
            s.read = s.value;
            s.textRead = s.text;
        }
        // A pair stored out of order shows in order (the upper raised), and
        // so it is written when the page is.
        for (const auto& [lower, upper] : page.ordered) {
            int low = 0;
            for (size_t i = 0; i < slots.size(); ++i)
                if (std::strcmp(page.controls[i].key, lower) == 0) low = slots[i].value;
            for (size_t i = 0; i < slots.size(); ++i)
                if (std::strcmp(page.controls[i].key, upper) == 0)
                    slots[i].value = std::max(slots[i].value, low);
        }
        m_pages.push_back(std::move(slots));
    }
    m_folders = m_foldersRead = settings.folders();
}

bool Model::enabled(size_t page, size_t index) const {
    const Page& p = pages()[page];
    if (p.needsAnimation && !m_animation) return false;
    const Control& c = p.controls[index];
    if (!c.enabledBy) return true;
    for (size_t i = 0; i < p.controls.size(); ++i)
        if (std::strcmp(p.controls[i].key, c.enabledBy) == 0) return m_pages[page][i].value != 0;
    return true;
}

void Model::setValue(size_t page, size_t index, int value) {
    const Page& p = pages()[page];
    const Control& c = p.controls[index];
    if (!c.numeric()) return;
    value = std::clamp(value, c.minimum, c.maximum);
    m_pages[page][index].value = value;
    for (const auto& [lower, upper] : p.ordered) {
        const bool isLower = std::strcmp(c.key, lower) == 0;
        if (!isLower && std::strcmp(c.key, upper) != 0) continue;
        const char* other = isLower ? upper : lower;
        for (size_t i = 0; i < p.controls.size(); ++i) {
            if (std::strcmp(p.controls[i].key, other) != 0) continue;
            int& v = m_pages[page][i].value;
            v = isLower ? std::max(v, value) : std::min(v, value);
        }
    }
}

void Model::setText(size_t page, size_t index, const std::string& utf8) {
    if (control(page, index).kind == Kind::Text) m_pages[page][index].text = utf8;
}

void Model::setFolders(std::vector<std::string> folders) { m_folders = std::move(folders); }

std::string Model::addFolder(const std::string& folder) {
    if (folder.find('*') != std::string::npos) return "The folder \"" + folder + "\"" + kStarInFolderNote;
    if (std::find(m_folders.begin(), m_folders.end(), folder) == m_folders.end()) m_folders.push_back(folder);
    return "";
}

void Model::removeFolder(size_t index) {
    if (index < m_folders.size()) m_folders.erase(m_folders.begin() + static_cast<std::ptrdiff_t>(index));
}

void Model::reset(size_t page) {
    const Page& p = pages()[page];
    for (size_t i = 0; i < p.controls.size(); ++i) {
        const Control& c = p.controls[i];
        if (c.numeric())
            m_pages[page][i].value = c.defaultValue;
        else if (c.kind == Kind::Text)
            m_pages[page][i].text = windows1252ToUtf8(defaultText(m_settings, c));
    }
}

void Model::reduceChaos(size_t page) {
    const Page& p = pages()[page];
    for (const auto& [key, value] : p.chaos)
        for (size_t i = 0; i < p.controls.size(); ++i)
            if (std::strcmp(p.controls[i].key, key) == 0) m_pages[page][i].value = value;
}

bool Model::changed(size_t page) const {
    if (page == m_startFirstPage) return true;
    for (size_t i = 0; i < m_pages[page].size(); ++i)
        if (changed(page, i)) return true;
    return false;
}

bool Model::changed(size_t page, size_t index) const {
    const Slot& s = m_pages[page][index];
    if (control(page, index).kind == Kind::FolderList) return m_folders != m_foldersRead;
    return s.value != s.read || s.text != s.textRead;
}

std::string Model::lost(size_t page) const {
    std::string all;
    for (size_t i = 0; i < m_pages[page].size(); ++i) {
        if (control(page, i).kind == Kind::Text && changed(page, i)) all += m_pages[page][i].text;
    }
    return charactersLost(all);
}

bool Model::write(size_t page, Settings& settings) {
    if (!changed(page)) return true;
    const Page& p = pages()[page];
    for (size_t i = 0; i < p.controls.size(); ++i) {
        const Control& c = p.controls[i];
        if (!changed(page, i)) continue;
        if (c.numeric()) sheet::setValue(settings, c, m_pages[page][i].value);
        if (c.kind == Kind::Text) settings.setMessage(c.index, utf8ToWindows1252(m_pages[page][i].text));
        if (c.kind == Kind::FolderList) settings.setFolders(m_folders);
    }
    if (p.write && !(settings.*p.write)()) return false;
    if (page == m_startFirstPage) {
        settings.setImageNext(0);
        if (!settings.writeImageNext()) return false;
        m_startFirstPage = static_cast<size_t>(-1);
    }
    for (Slot& s : m_pages[page]) {
        s.read = s.value;
        s.textRead = s.text;
    }
    for (const Control& c : p.controls)
        if (c.kind == Kind::FolderList) m_foldersRead = m_folders;
    return true;
}

bool Model::writeAll(Settings& target) const {
    bool ok = true;
    for (size_t page = 0; page < m_pages.size(); ++page) {
        const Page& p = pages()[page];
        for (size_t i = 0; i < p.controls.size(); ++i) {
            const Control& c = p.controls[i];
            if (c.numeric()) sheet::setValue(target, c, m_pages[page][i].value);
            if (c.kind == Kind::Text) target.setMessage(c.index, utf8ToWindows1252(m_pages[page][i].text));
            if (c.kind == Kind::FolderList) target.setFolders(m_folders);
        }
        if (p.write) ok = (target.*p.write)() && ok;
    }
    target.setImageNext(m_startFirstPage < m_pages.size() ? 0 : m_settings.imageNext());
    return target.writeImageNext() && ok;
}

std::string charactersLost(const std::string& utf8) {
    std::string lost;
    for (size_t i = 0; i < utf8.size();) {
        // One character: a lead byte and its continuation bytes.
        size_t n = 1;
        while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) ++n;
        const std::string one = utf8.substr(i, n);
        i += n;
        if (windows1252ToUtf8(utf8ToWindows1252(one)) != one && lost.find(one) == std::string::npos)
            lost += one;
    }
    return lost;
}

}  // namespace sheet
