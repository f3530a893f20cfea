#pragma once
// The property sheet: nine pages of settings, OK / Cancel / Help, and a pane
// previewing the saver with the values as they stand.

#include <QDialog>
#include <vector>

#include "config/ConfigServices.h"
#include "config/SheetDescription.h"
#include "engine/Settings.h"

class CConfigPage;
class CPreviewPane;
class QDialogButtonBox;
class QTabWidget;

class CConfigProp : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = sheet::kSheetCaption;
    // Screens narrower than this (in the sheet's own pixels) get the small
    // preview; kFrameRoom is left for the window's frame and a panel.
    static constexpr int kRoomyWidth = 1100;
    static constexpr int kFrameRoom = 64;

    CConfigProp(Settings& settings, ConfigServices services, QWidget* parent = nullptr);
    ~CConfigProp() override;

    const std::vector<CConfigPage*>& pages() const { return m_pages; }
    template <class Page>
    Page* page() const {
        for (CConfigPage* p : m_pages)
            if (auto* found = dynamic_cast<Page*>(p)) return found;
        return nullptr;
    }
    QTabWidget* tabs() const { return m_tabs; }
    QDialogButtonBox* buttons() const { return m_buttons; }
    CPreviewPane* preview() const { return m_preview; }

    // Copies every page into `settings` and writes all its groups (the
    // preview's copy of the settings); false when a write failed.
    bool storeAll(Settings& settings) const;

    // OK: every page writes its keys; the sheet closes when all were stored.
    void accept() override;

private:
    QRect availableScreen() const;

    Settings& m_settings;
    ConfigServices m_services;
    std::vector<CConfigPage*> m_pages;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    CPreviewPane* m_preview = nullptr;
};
