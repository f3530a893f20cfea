#pragma once
// What the property sheet needs from outside itself: the display's depth and
// the boxes and dialogs it opens. The program uses the desktop's; tests
// replace them to answer without a person.

#include <QString>
#include <functional>
#include <string>

class QWidget;

struct ConfigServices {
    // Bits per pixel of the display the saver runs on.
    int bitsPerPixel = 32;
    // Run the saver in the preview pane (the tests of the pages go without).
    bool preview = true;
    // The saver the preview runs; empty for the one beside this program (or
    // on the PATH).
    QString saverProgram;
    // The folder browser: a chosen folder, or empty when cancelled.
    std::function<QString(QWidget* parent, const QString& title)> chooseFolder;
    // A note box with one OK button.
    std::function<void(QWidget* parent, const QString& caption, const QString& text)> note;
    // The desktop entry of the default web browser, empty when unknown.
    std::function<std::string()> defaultBrowser;
    // Opens the help page.
    std::function<void()> help;

    // The desktop's own dialogs, the help of the application object.
    static ConfigServices desktop(int bitsPerPixel);
};
