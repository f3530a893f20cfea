#pragma once
// The pages of the property sheet, laid out from their description
// (SheetDescription.h): each sets its controls from the settings record,
// copies them back on OK and writes its group of keys. The few controls a
// description cannot hold (buttons that act, notes, samples) are added by
// the page classes below.

#include <QStringList>
#include <QWidget>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "config/ConfigServices.h"
#include "config/SheetDescription.h"
#include "engine/Settings.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QVBoxLayout;

class CConfigPage : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kResetText = sheet::kResetText;
    static constexpr const char* kReduceChaosText = sheet::kReduceChaosText;

    CConfigPage(Settings& settings, const ConfigServices& services, const sheet::Page& description,
                QWidget* parent = nullptr);

    QString caption() const { return m_description.caption; }
    const sheet::Page& description() const { return m_description; }
    // Sets every control from the settings record.
    virtual void initialise();
    // Copies every control into `settings`.
    virtual void store(Settings& settings) const;
    // Writes the page's group of keys; false when the store refused it.
    // `final` is true for OK (not for the preview's copy of the settings).
    virtual bool write(Settings& settings, bool final);
    // OK: the controls go into the sheet's record, then to the store.
    bool onOK();
    // Every control of the page to the default of its setting (the folder
    // list stays; the button's tip says so).
    virtual void resetToDefaults();

    // The widget that edits `key`, null when the page has none.
    QWidget* control(const char* key) const;
    QSlider* slider(const char* key) const;
    // Every slider of the page with its description, in page order.
    std::vector<std::pair<QSlider*, const sheet::Control*>> sliders() const;
    // The value shown beside a slider, with its unit.
    QLabel* valueLabel(const char* key) const;
    // The tool tips registered for `widget`, in order.
    QStringList toolTips(const QWidget* widget) const;

signals:
    // A control changed (the preview follows).
    void changed();

protected:
    // The page's column of controls, inside its scrolling area, and where
    // the layout of each block ends in it.
    QVBoxLayout* body() const { return m_body; }
    int blockEnd(int block) const { return m_blockEnd.at(block); }
    QVBoxLayout* folderButtons() const { return m_folderButtons; }
    QGridLayout* choiceGrid() const { return m_choiceGrid; }

    void addToolTip(QWidget* widget, const QString& text);
    QPushButton* makeButton(const QString& text, const char* name, const QString& toolTip);
    void note(const QString& caption, const QString& text);

    Settings& m_settings;
    const ConfigServices& m_services;

private:
    struct Entry {
        Entry(const sheet::Control* c, QWidget* w, QLabel* v = nullptr) : control(c), widget(w), value(v) {}
        const sheet::Control* control;
        QWidget* widget;
        QLabel* value = nullptr;
        std::vector<QRadioButton*> options;
        // A text as it was shown when the page was set from the record.
        QString initial;
    };
    void build();
    void addSlider(QGridLayout* grid, const sheet::Control& c, int& row);
    void addText(QGridLayout* grid, const sheet::Control& c, int& row);
    void showValue(const Entry& e) const;
    void keepOrdered(const char* moved);
    void followChecks();
    void applyChaos();
    const Entry* entry(const char* key) const;
    int valueOf(const Entry& e) const;
    void setValueOf(const Entry& e, int value);

    const sheet::Page& m_description;
    std::vector<Entry> m_entries;
    std::vector<std::pair<const QWidget*, QString>> m_toolTips;
    std::map<int, int> m_blockEnd;
    QVBoxLayout* m_body = nullptr;
    QVBoxLayout* m_folderButtons = nullptr;
    QGridLayout* m_choiceGrid = nullptr;
    bool m_initialising = false;

    friend class CMessagesPage;
    friend class CImagesPage;
};

// "General": timing, blanking and the mouse.
class CSettingsPage : public CConfigPage {
    Q_OBJECT
public:
    CSettingsPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

class CStylePage : public CConfigPage {
    Q_OBJECT
public:
    CStylePage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

class CTextPage : public CConfigPage {
    Q_OBJECT
public:
    CTextPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

class CLayoutPage : public CConfigPage {
    Q_OBJECT
public:
    CLayoutPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

class COutlinePage : public CConfigPage {
    Q_OBJECT
public:
    COutlinePage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

// "Images": the folders searched, the pauses and the display order.
class CImagesPage : public CConfigPage {
    Q_OBJECT
public:
    CImagesPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
    void initialise() override;
    void store(Settings& settings) const override;
    bool write(Settings& settings, bool final) override;

    void addFolder();
    // Adds `folder` unless the list holds it or its name cannot be stored
    // (a note says why); false when not added.
    bool addFolderPath(const QString& folder);
    void removeFolder();
    void startAtFirst();
    void addBrowserCache();
    bool startFromFirst() const { return m_bStartFromFirst; }

private:
    void orderChanged();
    std::vector<std::string> folders() const;

    QListWidget* m_folders;
    QRadioButton* m_alphabetical;
    QPushButton* m_startFirst;
    bool m_bStartFromFirst = false;
};

// "Colors": the weights of the twelve hues, black bands and highlights.
class CColorsPage : public CConfigPage {
    Q_OBJECT
public:
    static constexpr const char* kSampleNote = sheet::kSampleNote;
    CColorsPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

// "Messages": the twelve texts of the text style. A message that holds
// characters the settings record cannot is kept exactly while unchanged; an
// edited one is marked before OK where it would lose characters.
class CMessagesPage : public CConfigPage {
    Q_OBJECT
public:
    CMessagesPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
    void initialise() override;
    // The characters of an edited message that the record cannot hold.
    QString lostCharacters(int i) const;

private:
    void markLosses();

    QLabel* m_warning;
};

// "Animation": colour animation, with a text saying what this display allows.
class CAnimationPage : public CConfigPage {
    Q_OBJECT
public:
    CAnimationPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
    static QString colorModeText(int bitsPerPixel);
    static bool animationPossible(int bitsPerPixel) { return sheet::animationPossible(bitsPerPixel); }
};
