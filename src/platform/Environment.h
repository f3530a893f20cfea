#pragma once
// Process environment, the user account and the shell: the small services of
// the operating system that the application shell needs.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The program's arguments after its name, in UTF-8. On Windows they are read
// from the wide command line: `argv` there is in the ANSI code page wherever
// the manifest's UTF-8 code page is not honoured (before Windows 10 1903),
// and a path in it would lose every character outside that code page.
std::vector<std::string> programArguments(int argc, char** argv);

std::optional<std::string> getEnv(const char* name);
// $HOME, else the home folder of the account, else the current folder.
std::filesystem::path homeFolder();
// The registered owner of this machine: the account's full name (the first
// field of the passwd comment), else the login name, else empty.
std::string registeredOwner();
// The same rule for a given passwd comment and login name.
std::string ownerFromAccount(const std::string& gecos, const std::string& login);
bool fileExists(const std::filesystem::path& path);
bool folderExists(const std::filesystem::path& path);
// Empty when `path` is a folder; else says what it is instead ("P is a file,
// not a folder", "there is no folder P").
std::string notAFolder(const std::filesystem::path& path);
// Makes the folder, but not its parents; true when it is a folder
// afterwards, else false with the reason, naming the path, in `why`.
bool makeFolder(const std::filesystem::path& path, std::string& why);
// A display is named for windows to open on (DISPLAY or WAYLAND_DISPLAY).
bool displayNamed();
// Standard error goes to a terminal (someone watches it).
bool standardErrorIsTerminal();
// Opens a document with the desktop's default program; false when that
// program could not be started.
bool shellOpen(const std::filesystem::path& path);
// An error box. There is no window toolkit in the saver itself, so the
// message goes to standard error unless a program with one installs a
// handler that shows it (an empty handler restores standard error).
void showErrorBox(const std::string& title, const std::string& text);
void setErrorBoxHandler(std::function<void(const std::string& title, const std::string& text)> handler);
// Replaces the running program with `program` found next to the running
// executable or on the PATH; returns only when that failed.
void execSibling(const std::string& program, int argc, char** argv);

}  // namespace platform
