// The images page: folders added once (none with the list's separator in
// its name), removed, searched for images; the display order and "Start at
// first image next run"; the browser cache.

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "config/SheetSupport.h"

namespace {

using ImagesPage = SheetTest;

QStringList listed(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

TEST_F(ImagesPage, FoldersAddedOnceSearchedAndRemoved) {
    const auto pictures = tmp.path() / "pictures";
    const auto empty = tmp.path() / "empty";
    std::filesystem::create_directories(pictures);
    std::filesystem::create_directories(empty);
    tmp.write("pictures/IMG_0001.JPE", "not really a picture");
    tmp.write("empty/notes.txt", "");
    open();
    auto& images = page<CImagesPage>();
    auto* list = child<QListWidget>(images, "Folders");
    EXPECT_FALSE(labelOf(list).isEmpty());

    folderChoice = QString::fromStdString(pictures.string());
    child<QPushButton>(images, "add")->click();
    EXPECT_EQ(browserTitles, std::vector<QString>{"Choose a folder containing your images:"});
    EXPECT_TRUE(notes.empty()) << "a .JPE file is an image";
    child<QPushButton>(images, "add")->click();
    EXPECT_FALSE(images.addFolderPath(folderChoice + "/")) << "the same folder, written differently";
    EXPECT_EQ(listed(list), QStringList{folderChoice}) << "a folder added twice stays once";
    // A name with "*" would be read back as two folders: refused, with the reason.
    EXPECT_FALSE(images.addFolderPath("/pictures/best*of"));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0].second.contains("holds a \"*\"")) << notes[0].second.toStdString();
    notes.clear();

    folderChoice = QString::fromStdString(empty.string());
    child<QPushButton>(images, "add")->click();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0],
              std::make_pair(QString("Quorvane"),
                             QString("No images (jpg, jpe, jpeg or bmp) were found in this folder.")));
    folderChoice.clear();  // the browser cancelled
    child<QPushButton>(images, "add")->click();
    EXPECT_EQ(list->count(), 2) << "the empty folder is kept all the same";

    child<QPushButton>(images, "remove")->click();  // nothing selected
    EXPECT_EQ(list->count(), 2);
    list->setCurrentRow(0);
    child<QPushButton>(images, "remove")->click();
    EXPECT_EQ(listed(list), QStringList{QString::fromStdString(empty.string())});

    sheet->accept();
    EXPECT_EQ(stored()->folders(), std::vector<std::string>{empty.string()});
}

// The browser cache: none of today's browsers', each said so by name.
TEST_F(ImagesPage, StartAtFirstOnlyInAlphabeticalOrderAndNoBrowserCache) {
    tmp.write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n"
                              "ImageOrder = 1\nImageNext = 17\n");
    open();
    auto& images = page<CImagesPage>();
    auto* random = child<QRadioButton>(images, "random");
    auto* alphabetical = child<QRadioButton>(images, "alphabetical");
    auto* first = child<QPushButton>(images, "startFirst");
    EXPECT_TRUE(alphabetical->isChecked() && first->isEnabled());
    random->click();
    EXPECT_FALSE(first->isEnabled()) << "choosing Random disables it";
    alphabetical->click();
    ASSERT_TRUE(first->isEnabled());

    first->click();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], std::make_pair(QString("Quorvane"),
                                       QString("Images will start from the first one on the next run.")));
    EXPECT_EQ(stored()->imageNext(), 17) << "nothing is written before OK";
    sheet->accept();
    EXPECT_TRUE(stored()->imageNext() == 0 && stored()->imageOrder() == 1);
    // Without the button the cursor stays where the image style left it.
    tmp.write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n"
                              "ImageOrder = 1\nImageNext = 17\n");
    open();
    auto& again = page<CImagesPage>();
    child<QRadioButton>(again, "random")->click();
    const QString unsupported = " not supported.\nOnly IExplore and Netscape. Other cache folders can be "
                                "added with the Add button.";
    for (const auto& [handler, said] : std::vector<std::pair<std::string, QString>>{
             {"firefox-esr.desktop", "firefox-esr" + unsupported},
             {"chromium", "chromium" + unsupported},
             {"", "Your default browser" + unsupported},
             {"netscape.desktop", "Quorvane could not locate the Netscape cache.\nIt can be added by "
                                  "searching with the Add button."}}) {
        notes.clear();
        browser = handler;
        child<QPushButton>(again, "browserCache")->click();
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].second, said);
    }
    EXPECT_EQ(child<QListWidget>(again, "Folders")->count(), 0);
    sheet->accept();
    EXPECT_TRUE(stored()->imageNext() == 17 && stored()->imageOrder() == 0);
}

}  // namespace
