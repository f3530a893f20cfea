#pragma once
// A property sheet on a settings folder of its own, with the boxes and the
// folder browser answered by the test.

#include <QLabel>
#include <QSlider>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "config/ConfigPages.h"
#include "config/ConfigProp.h"
#include "engine/Settings.h"
#include "support/TempFolder.h"

class SheetTest : public ::testing::Test {
protected:
    static constexpr const char* kOwner = "Test Owner";

    // A sheet on what the folder holds now, as for a display of `bits`.
    CConfigProp& open(int bits = 32, bool preview = false) {
        sheet.reset();
        settings = std::make_unique<Settings>(platform::ProfileStore(tmp.path()), kOwner);
        ConfigServices s;
        s.bitsPerPixel = bits;
        s.preview = preview;
        s.chooseFolder = [this](QWidget*, const QString& title) {
            browserTitles.push_back(title);
            return folderChoice;
        };
        s.note = [this](QWidget*, const QString& caption, const QString& text) {
            notes.emplace_back(caption, text);
        };
        s.defaultBrowser = [this] { return browser; };
        s.help = [this] { ++helps; };
        if (const char* exe = std::getenv("QV_TEST_EXE")) s.saverProgram = exe;
        sheet = std::make_unique<CConfigProp>(*settings, s);
        return *sheet;
    }
    // The settings as a new run reads them.
    std::unique_ptr<Settings> stored() const {
        return std::make_unique<Settings>(platform::ProfileStore(tmp.path()), kOwner);
    }
    template <class Page>
    Page& page() {
        Page* p = sheet->page<Page>();
        EXPECT_NE(p, nullptr);
        return *p;
    }
    template <class W>
    W* child(QWidget& parent, const char* name) {
        W* w = parent.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // The text of the label whose mnemonic leads to `widget`, empty when none.
    static QString labelOf(const QWidget* widget) {
        for (QLabel* label : widget->parentWidget()->findChildren<QLabel*>())
            if (label->buddy() == widget) return label->text();
        return {};
    }

    TempFolder tmp;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<CConfigProp> sheet;
    QString folderChoice;
    std::string browser = "firefox-esr.desktop";
    std::vector<QString> browserTitles;
    std::vector<std::pair<QString, QString>> notes;
    int helps = 0;
};
