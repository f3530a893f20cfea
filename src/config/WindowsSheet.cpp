#include "config/WindowsSheet.h"

#include <cmath>
#include <filesystem>

#include "config/SheetDescription.h"
#include "config/SheetModel.h"
#include "platform/win32/PreviewApi.h"
#include "platform/win32/SheetApi.h"

namespace sheet {

namespace {

using platform::win32::SheetItem;
using platform::win32::SheetTab;

SheetItem::Kind kindOf(Kind kind) {
    switch (kind) {
        case Kind::Slider:
            return SheetItem::Kind::Slider;
        case Kind::Spin:
            return SheetItem::Kind::Spin;
        case Kind::Check:
            return SheetItem::Kind::Check;
        case Kind::Choice:
            return SheetItem::Kind::Choice;
        case Kind::Text:
            return SheetItem::Kind::Text;
        case Kind::FolderList:
            break;
    }
    return SheetItem::Kind::FolderList;
}

// The sample of hue `hue` (a twelfth of the circle each), fully saturated,
// as 0x00RRGGBB.
int64_t hueSample(int hue) {
    const double h = hue * 6.0 / Settings::kColorCount;
    const double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
        case 0:
            r = 1, g = x;
            break;
        case 1:
            r = x, g = 1;
            break;
        case 2:
            g = 1, b = x;
            break;
        case 3:
            g = x, b = 1;
            break;
        case 4:
            r = x, b = 1;
            break;
        default:
            r = 1, b = x;
            break;
    }
    const auto byte = [](double v) { return static_cast<int64_t>(std::lround(v * 255.0)); };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

SheetItem note(const std::string& text, int block) {
    SheetItem n;
    n.kind = SheetItem::Kind::Note;
    n.label = text;
    n.block = block;
    return n;
}

// The record's values while the sheet is open.
class Host : public platform::win32::SheetHost {
public:
    Host(Settings& settings, int bitsPerPixel, std::vector<std::vector<int>> controlOf,
         std::function<void()> help, std::optional<std::string> previewProgram)
        : m_settings(settings),
          m_model(settings, bitsPerPixel),
          m_controlOf(std::move(controlOf)),
          m_help(std::move(help)),
          m_previewProgram(std::move(previewProgram)) {}
    ~Host() override { endPreview(); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    int value(int tab, int item) override { return m_model.value(tab, at(tab, item)); }
    std::string text(int tab, int item) override { return m_model.text(tab, at(tab, item)); }
    std::vector<std::string> folders() override { return m_model.folders(); }
    bool enabled(int tab, int item) override { return m_model.enabled(tab, at(tab, item)); }
    std::string shown(int tab, int item, int value) override {
        return formatValue(m_model.control(tab, at(tab, item)), value);
    }
    void setValue(int tab, int item, int value) override { m_model.setValue(tab, at(tab, item), value); }
    void setText(int tab, int item, const std::string& utf8) override {
        m_model.setText(tab, at(tab, item), utf8);
    }
    std::string addFolder(const std::string& folder) override { return m_model.addFolder(folder); }
    void removeFolder(int index) override { m_model.removeFolder(static_cast<size_t>(index)); }
    // The display order's button: the next run starts at the first image.
    std::string act(int tab, int) override {
        m_model.startAtFirstImage(static_cast<size_t>(tab));
        return kStartFirstNote;
    }
    bool canAct(int tab, int item) override { return value(tab, item) == 1; }
    std::string lost(int tab) override { return m_model.lost(tab); }
    void reset(int tab) override { m_model.reset(tab); }
    void reduceChaos(int tab) override { m_model.reduceChaos(tab); }
    bool changed(int tab) override { return m_model.changed(tab); }
    bool apply(int tab, std::string& error) override {
        if (m_model.write(tab, m_settings)) return true;
        error = std::string("Quorvane could not save the settings of the page \"") + pages()[tab].caption +
                "\". They stay as they were before; the values shown are still yours to try again with.";
        return false;
    }
    void help() override {
        if (m_help) m_help();
    }
    bool hasPreview() override { return m_previewProgram.has_value(); }
    // The values as they stand go to the preview's own store (a record on
    // it, written whole), never through the user's; then the saver starts
    // on that store.
    std::string showPreview(uint64_t window) override {
        m_preview.stop();
        if (m_previewFolder.empty()) {
            std::string why;
            m_previewFolder = platform::win32::newPreviewFolder(why);
            if (m_previewFolder.empty()) return "There is no preview: " + why + ".";
        }
        Settings values{platform::ProfileStore(m_previewFolder), ""};
        if (!m_model.writeAll(values))
            return "There is no preview: the settings could not be written for it.";
        return m_preview.start(*m_previewProgram, window, m_previewFolder);
    }
    void endPreview() override {
        m_preview.stop();
        if (!m_previewFolder.empty()) platform::win32::removePreviewStore(m_previewFolder);
        m_previewFolder.clear();
    }

private:
    // Notes are items of the sheet that no control stands behind; they ask
    // nothing, so `item` is always a control here.
    size_t at(int tab, int item) const {
        return static_cast<size_t>(m_controlOf[static_cast<size_t>(tab)][static_cast<size_t>(item)]);
    }
    Settings& m_settings;
    Model m_model;
    std::vector<std::vector<int>> m_controlOf;
    std::function<void()> m_help;
    std::optional<std::string> m_previewProgram;
    std::filesystem::path m_previewFolder;
    platform::win32::PreviewProcess m_preview;
};

std::string joined(const std::vector<const char*>& tips) {
    std::string out;
    for (const char* t : tips) out += (out.empty() ? "" : "\n") + std::string(t);
    return out;
}

}  // namespace

std::vector<SheetTab> windowsTabs(int bitsPerPixel, std::vector<std::vector<int>>& controlOf) {
    const bool palette = bitsPerPixel <= 8;
    std::vector<SheetTab> tabs;
    controlOf.clear();
    for (const Page& page : pages()) {
        SheetTab tab;
        tab.caption = page.caption;
        tab.resetLabel = kResetText;
        tab.resetTip = page.resetToolTip;
        tab.chaos = page.hasChaos && !page.chaosHidden;
        tab.chaosLabel = kReduceChaosText;
        tab.chaosTip = page.chaosToolTip ? page.chaosToolTip : "";
        std::vector<int> map;
        if (page.needsAnimation) {
            tab.items.push_back(note(colorModeText(bitsPerPixel), -1));
            map.push_back(-1);
        }
        if (page.heading) {
            tab.items.push_back(note(page.heading, -1));
            map.push_back(-1);
        }
        for (size_t i = 0; i < page.controls.size(); ++i) {
            const Control& c = page.controls[i];
            SheetItem it;
            it.kind = kindOf(c.kind);
            it.label = c.label;
            it.toolTip = palette && c.paletteToolTip ? c.paletteToolTip : joined(c.toolTips);
            it.minimum = c.minimum;
            it.maximum = c.maximum;
            it.pageStep = c.step;
            it.unit = unitSymbol(c.unit);
            it.lowEnd = c.lowEnd ? c.lowEnd : "";
            it.highEnd = c.highEnd ? c.highEnd : "";
            for (const Option& o : c.options) {
                it.options.push_back(o.label);
                it.optionTips.push_back(o.toolTip);
            }
            if (c.kind == Kind::FolderList) {
                // The first two of the page's buttons belong to the list.
                for (size_t b = 0; b < page.buttons.size() && b < 2; ++b) {
                    it.buttons.push_back(page.buttons[b].label);
                    it.buttonTips.push_back(page.buttons[b].toolTip);
                }
                it.pickerTitle = kChooseFolderTitle;
            }
            // The last of the page's buttons stands beside the display order
            // (alphabetical: start at the first image); the browser cache
            // button has no cache to find here and is left out.
            if (c.kind == Kind::Choice && page.buttons.size() > 2) {
                it.buttons.push_back(page.buttons.back().label);
                it.buttonTips.push_back(page.buttons.back().toolTip);
            }
            it.block = c.block;
            it.column = c.column;
            if (c.hue >= 0) it.sample = hueSample(c.hue);
            tab.items.push_back(std::move(it));
            map.push_back(static_cast<int>(i));
        }
        for (const Control& c : page.controls)
            if (c.hue >= 0) {
                tab.items.push_back(note(kSampleNote, 1000));
                map.push_back(-1);
                break;
            }
        tabs.push_back(std::move(tab));
        controlOf.push_back(std::move(map));
    }
    return tabs;
}

int showWindowsSheet(Settings& settings, uint64_t owner, std::function<void()> help, std::string& error,
                     std::optional<std::string> previewProgram) {
    const int bits = platform::win32::displayBitsPerPixel();
    std::vector<std::vector<int>> controlOf;
    const std::vector<SheetTab> tabs = windowsTabs(bits, controlOf);
    Host host(settings, bits, controlOf, std::move(help), std::move(previewProgram));
    return platform::win32::showSheet(kSheetCaption, tabs, host, owner, 0, error);
}

}  // namespace sheet
