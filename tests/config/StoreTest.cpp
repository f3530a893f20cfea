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

#include <unistd.h>

#include "config/Desktop.h"
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
        for (const auto& [slider, c] : page->sliders()) slider->setValue(c->maximum - 1);
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
    EXPECT_EQ(general.slider("MaxTime")->value(), 40) << "raised to the minimum where the user sees it";
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
        for (const auto& [slider, c] : page->sliders()) EXPECT_EQ(slider->value(), c->maximum - 1) << c->key;
    EXPECT_TRUE(s->useAnimation() && s->color(11) == 99.0f);
    EXPECT_EQ(s->message(0), "Caf\xe9 \x80 ?") << "Windows-1252 in the record";
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Message0")->text(), QString::fromUtf8("Caf\u00e9 \u20ac ?"));
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Message2")->text(), "changed") << "moved up to the others";
}

// A failed save keeps the sheet open and says why, in the system's words
// where it has some, and what to do.
TEST_F(Store, AFailedWriteSaysWhyAndKeepsTheSheetOpen) {
    tmp.write("registry.ini", kUserFile);
    open();
    page<CSettingsPage>().slider("Speed")->setValue(90);
    // Something the store will not replace stands where the file was.
    std::filesystem::remove(tmp.path() / "registry.ini");
    std::filesystem::create_directory(tmp.path() / "registry.ini");
    sheet->accept();
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0].second.contains("registry.ini is not a regular file (it is a folder)") &&
                notes[0].second.contains("Move it away"))
        << notes[0].second.toStdString();

    // A NUL byte: the file is never rewritten, and the note says so.
    std::filesystem::remove(tmp.path() / "registry.ini");
    tmp.write("registry.ini", kUserFile + std::string("Broken=a\0b\n", 11));
    notes.clear();
    sheet->accept();
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0].second.contains("holds a NUL byte (on line 11)") &&
                notes[0].second.contains("Remove the NUL byte"))
        << notes[0].second.toStdString();

    // A folder that cannot be written: the system's reason.
    if (::geteuid() != 0) {
        std::filesystem::remove(tmp.path() / "registry.ini");
        std::filesystem::permissions(tmp.path(),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        notes.clear();
        sheet->accept();
        std::filesystem::permissions(tmp.path(), std::filesystem::perms::owner_all);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_TRUE(notes[0].second.contains("Permission denied")) << notes[0].second.toStdString();
    }
}

// What the user did not change is not rewritten: a message the record
// cannot hold (it draws Windows-1252), a folder list the record read only
// in part, a folder whose name is not UTF-8.
TEST_F(Store, UnchangedMessagesAndFoldersKeepTheirBytes) {
    const std::string message = "\xe2\x86\x92 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80";  // → 日本 😀
    tmp.write(
        "registry.ini",
        "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\nMessage2=\nMessage3=" + message + "\n");
    std::string folders = "/pictures/caf\xe9*";  // Latin-1, as an old disk names it
    while (folders.size() < Settings::kFoldersMaxChars + 100)
        folders += "/more/pictures/" + std::to_string(folders.size()) + "*";
    const std::string ini = "[Quorvane]\nFolders=" + folders + "\n";
    tmp.write("Quorvane5.ini", ini);
    open();
    EXPECT_EQ(sheet->findChild<QLineEdit*>("Message3")->text(), QString::fromStdString(message));
    EXPECT_FALSE(sheet->findChild<QLabel*>("lossWarning")->isVisibleTo(&page<CMessagesPage>()))
        << "a message left alone is not marked";
    page<CSettingsPage>().slider("Speed")->setValue(60);
    sheet->accept();
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(platform::ProfileStore(tmp.path()).readValue(Settings::kConfigKey, "Message2"), message)
        << "moved up with its own bytes";
    EXPECT_EQ(tmp.read("Quorvane5.ini"), ini) << "the folder list is not rewritten";

    // A folder added: the one that is not UTF-8 keeps its bytes.
    tmp.write("Quorvane5.ini", "[Quorvane]\nFolders=/pictures/caf\xe9*\n");
    open();
    const auto added = tmp.path() / "added";
    std::filesystem::create_directories(added);
    ASSERT_TRUE(page<CImagesPage>().addFolderPath(QString::fromStdString(added.string())));
    sheet->accept();
    const auto stored = this->stored()->folders();
    EXPECT_EQ(stored, (std::vector<std::string>{"/pictures/caf\xe9", added.string()}));
}

// A message being typed with characters the record cannot hold is marked
// before OK, and they are what becomes "?".
TEST_F(Store, LostCharactersAreMarkedBeforeOk) {
    open();
    auto& messages = page<CMessagesPage>();
    auto* edit = sheet->findChild<QLineEdit*>("Message5");
    auto* warning = sheet->findChild<QLabel*>("lossWarning");
    edit->setText(QString::fromUtf8("caf\u00e9 \u2192 \u65e5 \u20ac"));
    EXPECT_TRUE(warning->isVisibleTo(&messages) && edit->property("losesCharacters").toBool());
    EXPECT_EQ(messages.lostCharacters(5), QString::fromUtf8("\u2192\u65e5")) << "\u00e9 and \u20ac are kept";
    EXPECT_TRUE(warning->text().contains("Message 6")) << warning->text().toStdString();
    edit->setText("plain");
    EXPECT_FALSE(warning->isVisibleTo(&messages) || edit->property("losesCharacters").toBool());
    edit->setText(QString::fromUtf8("a\u2192b"));
    sheet->accept();
    EXPECT_EQ(stored()->message(3), "a?b") << "moved up after the three defaults";
}

// Help hands the page to the opener and goes on: the sheet answers while
// the opener runs, and an opener that fails is reported when it ends.
TEST(Help, OpensWithoutWaitingAndReportsAFailure) {
    TempFolder tmp;
    tmp.write("xdg-open", "#!/bin/sh\ntouch \"$(dirname \"$0\")/started\"\n"
                          "i=0; while [ ! -e \"$(dirname \"$0\")/release\" ] && [ $i -lt 300 ]; do sleep "
                          "0.1; i=$((i+1)); done\n"
                          "touch \"$(dirname \"$0\")/done\"; exit 3\n");
    std::filesystem::permissions(tmp.path() / "xdg-open", std::filesystem::perms::owner_all);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(tmp.path().string()) + ":" + path);
    bool failed = false;
    desktop::openWithoutWaiting("/nowhere/quorvane.htm", [&] { failed = true; });
    qputenv("PATH", path);
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "done")) << "Help waited for the opener";
    QElapsedTimer clock;
    clock.start();
    while (!std::filesystem::exists(tmp.path() / "started") && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    tmp.write("release", "");
    while (!failed && clock.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(failed) << "the opener's failure is reported";
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
