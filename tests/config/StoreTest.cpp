// What the sheet stores: nothing on Cancel, every page's keys on OK (read
// back by a new run), text in the record's code page, and the preview's
// own copy of the values.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "config/PreviewPane.h"
#include "config/SheetSupport.h"
#include "config/Windows1252.h"

namespace {

using Store = SheetTest;

const std::string kUserFile = "; the user's own file, kept as written\n"
                              "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n"
                              "Speed=7\nMinTime = 40\nMaxTime=20\nMessage0=first\nMessage1=\nMessage2=third\n"
                              "InstallFolder=/opt/q/\nUnknownKey=kept\n";

// Changes one control of every kind on every page.
void editEverything(CConfigProp& sheet) {
    for (CConfigPage* page : sheet.pages())
        for (const auto& [slider, spec] : page->sliders()) slider->setValue(spec.maximum - 1);
    sheet.findChild<QCheckBox*>("UseAnimation")->click();
    sheet.findChild<QLineEdit*>("Message5")->setText("changed");
}

TEST_F(Store, CancelWritesNothing) {
    tmp.write("registry.ini", kUserFile);
    tmp.write("Quorvane5.ini", "[Quorvane]\nFolders=/a*/b*\n");
    open();
    editEverything(*sheet);
    sheet->findChild<QPushButton*>("startFirst")->setEnabled(true);
    sheet->findChild<QPushButton*>("startFirst")->click();
    sheet->buttons()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    EXPECT_EQ(tmp.read("registry.ini"), kUserFile) << "byte for byte";
    EXPECT_EQ(tmp.read("Quorvane5.ini"), "[Quorvane]\nFolders=/a*/b*\n");
    EXPECT_EQ(settings->speed(), 7) << "the record is untouched too";
}

TEST_F(Store, OkWritesWhatANewRunReads) {
    tmp.write("registry.ini", kUserFile);
    open();
    auto& general = page<CSettingsPage>();
    EXPECT_EQ(general.slider("MinTime")->value(), 40);
    EXPECT_EQ(general.slider("MaxTime")->value(), 20);
    page<CStylePage>().slider("StyleBitmap")->setValue(55);
    sheet->buttons()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    ASSERT_TRUE(notes.empty());

    auto s = stored();
    EXPECT_TRUE(s->speed() == 7 && s->minTime() == 40 && s->styleBitmap() == 55);
    EXPECT_EQ(s->maxTime(), 40) << "raised to the minimum";
    EXPECT_TRUE(s->message(0) == "first" && s->message(1) == "third" && s->message(2) == "" &&
                s->lastMessage() == 1)
        << "messages compacted";
    EXPECT_EQ(s->installFolder(), "/opt/q/") << "keys of no page are kept";
    EXPECT_NE(tmp.read("registry.ini").find("UnknownKey"), std::string::npos);

    // Every slider, check box and message, at values other than the defaults.
    open();
    editEverything(*sheet);
    sheet->findChild<QLineEdit*>("Message0")->setText(QString::fromUtf8("Caf\u00e9 \u20ac \u4e2d"));
    sheet->accept();
    s = stored();
    open();
    for (CConfigPage* page : sheet->pages())
        for (const auto& [slider, spec] : page->sliders())
            EXPECT_EQ(slider->value(), spec.maximum - 1) << spec.key;
    EXPECT_TRUE(s->useAnimation() && s->color(11) == 99.0f);
    EXPECT_EQ(s->message(0), "Caf\xe9 \x80 ?") << "Windows-1252 in the record";
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Message0")->text(), QString::fromUtf8("Caf\u00e9 \u20ac ?"));
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Message2")->text(), "changed") << "moved up to the others";
}

TEST_F(Store, ReduceChaosThenOkKeepsTheImages) {
    tmp.write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\nStyleBitmap=63\n");
    open();
    sheet->findChild<CStylePage*>()->findChild<QPushButton*>("reduceChaos")->click();
    sheet->accept();
    auto s = stored();
    EXPECT_TRUE(s->styleSolid() == 100 && s->singleDot() == 100 && s->styleDots() == 0);
    EXPECT_EQ(s->styleBitmap(), 63);
}

TEST_F(Store, AFailedWriteKeepsTheSheetOpen) {
    tmp.write("registry.ini", kUserFile);
    open();
    page<CSettingsPage>().slider("Speed")->setValue(90);
    // Something the store will not replace stands where the file was.
    std::filesystem::remove(tmp.path() / "registry.ini");
    std::filesystem::create_directory(tmp.path() / "registry.ini");
    sheet->accept();
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0].second.startsWith("Some settings could not be saved in "));
}

TEST(Windows1252, EveryByteRoundTripsAndOthersBecomeQuestionMarks) {
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(fromWindows1252("\x80\x99\xe9"), QString::fromUtf8("\u20ac\u2122\u00e9"));
    EXPECT_EQ(toWindows1252(QString::fromUtf8("\u0100\u4e2d\U0001F600x")), "???x")
        << "a pair is one character";
}

// Under the offscreen platform no window can host the saver: the pane
// shows a still drawn with the edited values, which are not the user's.
TEST_F(Store, PreviewDrawsTheUnsavedValues) {
    if (!std::getenv("QV_TEST_EXE")) GTEST_SKIP() << "QV_TEST_EXE is not set";
    tmp.write("registry.ini", kUserFile);
    open(32, true);
    CPreviewPane* pane = sheet->preview();
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(pane->embedded());
    page<CSettingsPage>().slider("Speed")->setValue(33);
    pane->restart();

    QElapsedTimer clock;
    clock.start();
    bool shown = false;
    QObject::connect(pane, &CPreviewPane::stillShown, [&] { shown = true; });
    while (!shown && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    ASSERT_TRUE(shown) << pane->findChild<QLabel*>("previewStill")->text().toStdString();
    EXPECT_FALSE(pane->findChild<QLabel*>("previewStill")->pixmap().isNull());

    Settings previewed(platform::ProfileStore(pane->settingsFolder().toStdString()), kOwner);
    EXPECT_TRUE(previewed.speed() == 33 && previewed.installFolder() == "/opt/q/");
    EXPECT_EQ(tmp.read("registry.ini"), kUserFile) << "the user's settings are not touched";
}

}  // namespace
