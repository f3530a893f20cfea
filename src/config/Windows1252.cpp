#include "config/Windows1252.h"

#include "engine/Windows1252.h"

// The widgets take UTF-8 through the same tables the settings files use, so
// the sheet and the saver agree on every byte.
QString fromWindows1252(const std::string& text) { return QString::fromStdString(windows1252ToUtf8(text)); }

std::string toWindows1252(const QString& text) { return utf8ToWindows1252(text.toStdString()); }
