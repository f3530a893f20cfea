#pragma once
// The settings record holds text in Windows-1252, the code page the saver
// draws in; the widgets hold Unicode. These convert at that boundary.

#include <QString>
#include <string>

QString fromWindows1252(const std::string& text);
// Characters that Windows-1252 lacks become "?".
std::string toWindows1252(const QString& text);
