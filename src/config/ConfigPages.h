#pragma once
// The pages of the property sheet. Each sets its controls from the settings
// record, copies them back on OK and writes its groups of keys; nearly every
// control is a slider described by one row of a table.

#include <QStringList>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "config/ConfigServices.h"
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

// One slider: its label (with mnemonic; empty when a picture or group names
// it), the key it edits, range and page size, tool tip, and the setting's
// default and accessors.
struct SliderRow {
    QString label;
    const char* key;
    int minimum;
    int maximum;
    int pageSize;
    QString toolTip;
    int defaultValue;
    std::function<int(const Settings&)> get;
    std::function<void(Settings&, int)> set;
};

// The row of a numeric setting of the record, by its key and accessors.
#define QV_SLIDER_ROW(label, Key, get, set, minimum, maximum, pageSize, toolTip)   \
    SliderRow {                                                                    \
        label, #Key, minimum, maximum, pageSize, toolTip, Settings::kDefault##Key, \
            [](const Settings& s) { return static_cast<int>(s.get()); },           \
            [](Settings& s, int v) { s.set(v); }                                   \
    }

// "Reduce Chaos": values some sliders of a page are set to.
struct Preset {
    QString toolTip;
    std::vector<std::pair<const char*, int>> values;
};

class CConfigPage : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kResetText = "Reset to defaults";
    static constexpr const char* kResetTip = "Resets all the above controls to their default settings";
    static constexpr const char* kReduceChaosText = "Reduce Ch&aos";

    CConfigPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);

    virtual QString caption() const = 0;
    // Sets every control from the settings record.
    virtual void initialise();
    // Copies every control into `settings`.
    virtual void store(Settings& settings) const;
    // Writes the page's groups of keys; false when the store refused one.
    // `final` is true for OK (not for the preview's copy of the settings).
    virtual bool write(Settings& settings, bool final) = 0;
    // OK: the controls go into the sheet's record, then to the store.
    bool onOK();
    // Every slider of the page to the default of its setting.
    void resetToDefaults();

    QSlider* slider(const char* key) const;
    const std::vector<std::pair<QSlider*, SliderRow>>& sliders() const { return m_sliders; }
    // The tool tips registered for `widget`, in order.
    QStringList toolTips(const QWidget* widget) const;

signals:
    // A control changed (the preview follows).
    void changed();

protected:
    // A labelled slider in `row` of `grid`, at `column` (label) and the one after it.
    QSlider* addSlider(QGridLayout* grid, int row, int column, const SliderRow& spec);
    void addToolTip(QWidget* widget, const QString& text);
    // Ends the page's column of controls with its row of buttons: `left`
    // (when given) and "Reset to defaults" with its control id.
    void addButtonRow(QVBoxLayout* page, int resetId, QPushButton* left = nullptr);
    QPushButton* makeButton(const QString& text, const char* name, const QString& toolTip);
    void applyPreset(const Preset& preset);
    // Emits changed() whenever `button` is toggled or clicked.
    void watch(QAbstractButton* button);
    void note(const QString& caption, const QString& text);

    Settings& m_settings;
    const ConfigServices& m_services;

private:
    std::vector<std::pair<QSlider*, SliderRow>> m_sliders;
    std::vector<std::pair<const QWidget*, QString>> m_toolTips;
};

// "General": timing, blanking and the mouse.
class CSettingsPage : public CConfigPage {
    Q_OBJECT
public:
    CSettingsPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
    QString caption() const override { return "General"; }
    void initialise() override;
    void store(Settings& settings) const override;
    bool write(Settings& settings, bool final) override;

private:
    void blankScreenToggled();

    QCheckBox* m_blank;
    QSpinBox* m_minutes;
    QLabel* m_minutesLabel;
    QCheckBox* m_ignoreMouse;
    bool m_bBlankScreen = false;
    bool m_bIgnoreMouse = false;
};

// A page of sliders and, optionally, a "Reduce Chaos" preset.
class CSliderPage : public CConfigPage {
    Q_OBJECT
public:
    CSliderPage(Settings& settings, const ConfigServices& services, const QString& caption,
                const std::vector<SliderRow>& rows, const Preset* preset, int resetId,
                bool (Settings::*writeGroup)(), QWidget* parent = nullptr);
    QString caption() const override { return m_caption; }
    bool write(Settings& settings, bool final) override;

private:
    QString m_caption;
    bool (Settings::*m_writeGroup)();
};

class CStylePage : public CSliderPage {
    Q_OBJECT
public:
    CStylePage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

class CTextPage : public CSliderPage {
    Q_OBJECT
public:
    CTextPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

class CLayoutPage : public CSliderPage {
    Q_OBJECT
public:
    CLayoutPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

class COutlinePage : public CSliderPage {
    Q_OBJECT
public:
    COutlinePage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
};

// "Images": the folders searched, the pauses and the display order.
class CImagesPage : public CConfigPage {
    Q_OBJECT
public:
    CImagesPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
    QString caption() const override { return "Images"; }
    void initialise() override;
    void store(Settings& settings) const override;
    bool write(Settings& settings, bool final) override;

    void addFolder();
    // Adds `folder` unless the list holds it; false when it did.
    bool addFolderPath(const QString& folder);
    void removeFolder();
    void startAtFirst();
    void addBrowserCache();
    bool startFromFirst() const { return m_bStartFromFirst; }

private:
    void orderChanged();
    std::vector<std::string> folders() const;

    QListWidget* m_folders;
    QRadioButton* m_random;
    QRadioButton* m_alphabetical;
    QPushButton* m_startFirst;
    bool m_bStartFromFirst = false;
};

// "Colors": the weights of the twelve hues, black bands and highlights.
class CColorsPage : public CConfigPage {
    Q_OBJECT
public:
    static constexpr const char* kSampleNote =
        "(The color samples above only show accurately in Hi or True Color.)";
    CColorsPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
    QString caption() const override { return "Colors"; }
    bool write(Settings& settings, bool final) override;
};

// "Messages": the twelve texts of the text style.
class CMessagesPage : public CConfigPage {
    Q_OBJECT
public:
    CMessagesPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
    QString caption() const override { return "Messages"; }
    void initialise() override;
    void store(Settings& settings) const override;
    bool write(Settings& settings, bool final) override;

private:
    std::vector<QLineEdit*> m_edits;
};

// "Animation": colour animation, with a text saying what this display allows.
class CAnimationPage : public CConfigPage {
    Q_OBJECT
public:
    CAnimationPage(Settings& settings, const ConfigServices& services, QWidget* parent = nullptr);
    QString caption() const override { return "Animation"; }
    void initialise() override;
    void store(Settings& settings) const override;
    bool write(Settings& settings, bool final) override;

    // The text describing the colour mode, and whether animation can be used.
    static QString colorModeText(int bitsPerPixel);
    static bool animationPossible(int bitsPerPixel);

private:
    QCheckBox* m_useAnimation;
    QCheckBox* m_animatePause;
};
