// The pages as the user sees them: every slider wired to its row, the sheet's
// tabs and buttons, the reset buttons, the presets, and the controls that
// follow others or the display's depth.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QSpinBox>
#include <QTabWidget>

#include "config/SheetSupport.h"

namespace {

constexpr const char* kHueTip = "Slide to the right to use more of this color";

using Pages = SheetTest;

QString qs(const char* s) { return QString::fromUtf8(s); }

// Every control the description lists is on its page as described: range,
// step, label, tips, accessible name, and the value shown with its unit.
TEST_F(Pages, EveryControlIsBuiltFromItsDescription) {
    open();
    EXPECT_EQ(sheet->windowTitle(), "Quorvane Screensaver");
    ASSERT_EQ(sheet->pages().size(), sheet::pages().size());
    ASSERT_EQ(sheet->tabs()->count(), static_cast<int>(sheet::pages().size()));
    for (size_t p = 0; p < sheet::pages().size(); ++p) {
        CConfigPage* page = sheet->pages()[p];
        EXPECT_EQ(&page->description(), &sheet::pages()[p]);
        EXPECT_EQ(sheet->tabs()->widget(static_cast<int>(p)), page);
        EXPECT_EQ(sheet->tabs()->tabText(static_cast<int>(p)), qs(sheet::pages()[p].caption));
        for (const sheet::Control& c : page->description().controls) {
            SCOPED_TRACE(c.key);
            QWidget* w = page->control(c.key);
            ASSERT_NE(w, nullptr);
            EXPECT_FALSE(w->accessibleName().isEmpty());
            QStringList tips;
            for (const char* t : c.toolTips) tips << qs(t);
            if (c.kind != sheet::Kind::Choice) {
                EXPECT_EQ(page->toolTips(w), tips);
            }
            if (auto* s = qobject_cast<QSlider*>(w)) {
                EXPECT_TRUE(s->minimum() == c.minimum && s->maximum() == c.maximum &&
                            s->pageStep() == c.step);
                EXPECT_EQ(labelOf(s), qs(c.label));
                EXPECT_EQ(page->valueLabel(c.key)->text().toStdString(), sheet::formatValue(c, s->value()));
                EXPECT_EQ(s->accessibleName().toStdString(), c.name());
            } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
                EXPECT_TRUE(spin->minimum() == c.minimum && spin->maximum() == c.maximum);
                EXPECT_EQ(spin->suffix(), " min");
            } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
                EXPECT_EQ(box->text(), qs(c.label));
            }
        }
    }
    // A slider shows its value with its unit as it moves; the ends say
    // which way is slower where the number alone does not.
    auto& general = page<CSettingsPage>();
    general.slider("MinTime")->setValue(75);
    EXPECT_EQ(general.valueLabel("MinTime")->text(), "1 min 15 s");
    const QStringList speedRow = [&] {
        QStringList texts;
        for (QLabel* l : general.findChildren<QLabel*>()) texts << l->text();
        return texts;
    }();
    EXPECT_TRUE(speedRow.contains("Faster") && speedRow.contains("Slower"));
}

// Each mnemonic of a page (with the sheet's own buttons) leads to one
// control; every control a screen reader meets has a name of its own.
TEST_F(Pages, MnemonicsUniqueControlsNamedButtonsAndHelp) {
    open();
    QDialogButtonBox* box = sheet->buttons();
    EXPECT_EQ(box->standardButtons(),
              QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    box->button(QDialogButtonBox::Help)->click();
    EXPECT_TRUE(helps == 1 && notes.empty());
    QStringList sheetKeys;
    for (QAbstractButton* b : sheet->buttons()->buttons())
        if (char m = sheet::mnemonic(b->text().toUtf8().constData())) sheetKeys << QString(QChar(m));
    for (CConfigPage* page : sheet->pages()) {
        SCOPED_TRACE(page->caption().toStdString());
        QStringList keys = sheetKeys;
        for (QLabel* l : page->findChildren<QLabel*>())
            if (l->buddy()) keys << QString(QChar(sheet::mnemonic(l->text().toUtf8().constData())));
        for (QAbstractButton* b : page->findChildren<QAbstractButton*>())
            if (char m = sheet::mnemonic(b->text().toUtf8().constData())) keys << QString(QChar(m));
        keys.removeAll(QString(QChar(0)));
        EXPECT_EQ(keys.size(), QSet<QString>(keys.begin(), keys.end()).size())
            << keys.join(' ').toStdString();
        QStringList names;
        for (QSlider* s : page->findChildren<QSlider*>()) names << s->accessibleName();
        EXPECT_EQ(names.size(), QSet<QString>(names.begin(), names.end()).size())
            << names.join(',').toStdString();
        EXPECT_FALSE(names.contains(QString()));
    }
}

// "Reset to defaults" sets every control of its page, check boxes, spin and
// messages included; other pages keep theirs; the images keep their folders.
TEST_F(Pages, ResetSetsEveryControlOfItsPageOnly) {
    tmp.write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n"
                              "BlankScreen=1\nBlankMinutes=5\nIgnoreMouse=1\nUseAnimation=1\nAnimatePause=0\n"
                              "Message0=mine\nMessage4=fifth\nImageOrder=1\n");
    tmp.write("Quorvane5.ini", "[Quorvane]\nFolders=/pictures*\n");
    open();
    for (CConfigPage* page : sheet->pages())
        for (const auto& [slider, c] : page->sliders()) slider->setValue(c->minimum + 1);
    // Each page's reset in turn: its sliders at their defaults, the pages not reset yet as they were.
    const std::vector<CConfigPage*>& pages = sheet->pages();
    for (size_t p = 0; p < pages.size(); ++p) {
        child<QPushButton>(*pages[p], "reset")->click();
        for (size_t q = 0; q < pages.size(); ++q)
            for (const auto& [slider, c] : pages[q]->sliders())
                EXPECT_EQ(slider->value(), q <= p ? c->defaultValue : c->minimum + 1)
                    << c->key << " after " << p;
    }
    auto& general = page<CSettingsPage>();
    EXPECT_FALSE(child<QCheckBox>(general, "BlankScreen")->isChecked() ||
                 child<QCheckBox>(general, "IgnoreMouse")->isChecked());
    EXPECT_EQ(child<QSpinBox>(general, "BlankMinutes")->value(), 60);
    auto& anim = page<CAnimationPage>();
    EXPECT_TRUE(!child<QCheckBox>(anim, "UseAnimation")->isChecked() &&
                child<QCheckBox>(anim, "AnimatePause")->isChecked());
    auto& messages = page<CMessagesPage>();
    EXPECT_EQ(child<QLineEdit>(messages, "Message0")->text(), kOwner);
    EXPECT_EQ(child<QLineEdit>(messages, "Message1")->text(), "Quorvane Screensaver");
    EXPECT_EQ(child<QLineEdit>(messages, "Message4")->text(), "");

    auto& images = page<CImagesPage>();
    EXPECT_TRUE(child<QRadioButton>(images, "random")->isChecked());
    EXPECT_EQ(child<QListWidget>(images, "Folders")->count(), 1) << "the folders stay, as its tip says";
    EXPECT_TRUE(child<QPushButton>(images, "reset")->toolTip().contains("folders stay"));
}

// A minimum above its maximum is corrected where the user sees it: as read,
// and whichever slider is moved past the other. The minutes to blank follow
// their check box.
TEST_F(Pages, MinimumAboveMaximumIsCorrectedInSightAndBlankMinutesFollowTheirBox) {
    tmp.write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n"
                              "MinTime=300\nMaxTime=0\nBlankScreen = 1\nBlankMinutes = 12\n");
    open();
    auto& general = page<CSettingsPage>();
    QSlider* min = general.slider("MinTime");
    QSlider* max = general.slider("MaxTime");
    EXPECT_TRUE(min->value() == 300 && max->value() == 300) << "raised as the record would store it";
    EXPECT_EQ(general.valueLabel("MaxTime")->text(), "5 min");
    max->setValue(40);
    EXPECT_EQ(min->value(), 40) << "the minimum follows the maximum down";
    min->setValue(90);
    EXPECT_EQ(max->value(), 90) << "the maximum follows the minimum up";
    min->setValue(10);
    EXPECT_EQ(max->value(), 90) << "and stays where it may";

    auto* blank = child<QCheckBox>(general, "BlankScreen");
    auto* minutes = child<QSpinBox>(general, "BlankMinutes");
    EXPECT_TRUE(blank->isChecked() && minutes->isEnabled());
    EXPECT_TRUE(minutes->value() == 12 && minutes->minimum() == 1 && minutes->maximum() == 999);
    blank->click();
    EXPECT_FALSE(minutes->isEnabled());
    blank->click();
    EXPECT_TRUE(minutes->isEnabled());
    blank->click();
    EXPECT_EQ(general.toolTips(blank).size(), 2) << "both of its tips";
    child<QCheckBox>(general, "IgnoreMouse")->click();
    sheet->accept();
    auto s = stored();
    EXPECT_TRUE(s->blankScreen() == 0 && s->blankMinutes() == 12 && s->ignoreMouse());
}

// The sheet fits 1024 x 600 at 100 % and 1366 x 768 at 150 % (911 x 512 of
// its own pixels), with room for a frame and a panel: its pages scroll.
TEST_F(Pages, FitsSmallAndScaledScreens) {
    open();
    const QSize least = sheet->minimumSizeHint();
    EXPECT_LE(least.width(), 1366 * 2 / 3 - CConfigProp::kFrameRoom);
    EXPECT_LE(least.height(), 768 * 2 / 3 - CConfigProp::kFrameRoom);
    sheet->show();
    const QRect screen = sheet->screen()->availableGeometry();
    EXPECT_LE(sheet->width(), screen.width());
    EXPECT_LE(sheet->height(), screen.height());
    sheet->hide();
}

TEST_F(Pages, ReduceChaosPresets) {
    open();
    for (CConfigPage* page : sheet->pages())
        for (const auto& [slider, c] : page->sliders()) slider->setValue(37);
    const auto pressed = [&](CConfigPage& page) {
        child<QPushButton>(page, "reduceChaos")->click();
        std::vector<int> v;
        for (const auto& [slider, c] : page.sliders()) v.push_back(slider->value());
        return v;
    };
    EXPECT_EQ(pressed(page<CStylePage>()), (std::vector<int>{100, 0, 0, 0, 37, 0, 0, 0, 100}))
        << "the images keep their weight";
    EXPECT_EQ(pressed(page<CLayoutPage>()), (std::vector<int>{100, 0, 0, 100, 100, 0, 0}));
    EXPECT_EQ(pressed(page<COutlinePage>()), (std::vector<int>{100, 0, 0, 0, 0, 0, 0, 0, 100}));
    // General's button is hidden and does nothing; Text has none.
    EXPECT_TRUE(child<QPushButton>(page<CSettingsPage>(), "reduceChaos")->isHidden());
    EXPECT_EQ(pressed(page<CSettingsPage>()), (std::vector<int>{37, 37, 37, 37}));
    EXPECT_EQ(page<CTextPage>().findChild<QPushButton*>("reduceChaos"), nullptr);
}

TEST_F(Pages, ColorTipsSampleNoteAndAnimationFollowTheDepth) {
    // The animation page's text names the mode; below 256 colours it is off.
    const std::pair<int, const char*> modes[] = {{4, "less than 256 color mode"},
                                                 {8, "running in 256 color mode"},
                                                 {16, "High Color or True Color"},
                                                 {24, "High Color or True Color"},
                                                 {32, "High Color or True Color"}};
    for (const auto& [bits, mode] : modes) {
        SCOPED_TRACE(bits);
        open(bits);
        auto& colors = page<CColorsPage>();
        EXPECT_EQ(child<QLabel>(colors, "sampleNote")->isHidden(), bits > 8);
        QSet<QString> tips;  // one for all, or at 8 bits and below each hue's own
        for (int i = 0; i < Settings::kColorCount; ++i) {
            tips << colors.slider(("Color" + std::to_string(i)).c_str())->toolTip();
            EXPECT_NE(colors.findChild<QLabel*>(QString("sample%1").arg(i)), nullptr);
        }
        EXPECT_EQ(tips.size(), bits > 8 ? 1 : Settings::kColorCount);
        EXPECT_TRUE(tips.contains(kHueTip));
        auto& anim = page<CAnimationPage>();
        EXPECT_TRUE(child<QLabel>(anim, "colorMode")->text().contains(mode));
        for (const char* name : {"UseAnimation", "AnimatePause"})
            EXPECT_EQ(child<QCheckBox>(anim, name)->isEnabled(), bits >= 8) << name;
        for (const auto& [slider, c] : anim.sliders()) EXPECT_EQ(slider->isEnabled(), bits >= 8) << c->key;
    }
}

}  // namespace
