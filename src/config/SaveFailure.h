#pragma once
// Why the settings could not be saved in a folder, and what to do about it,
// found by looking at the folder and its files after the store refused a
// write: the store says only that it did.

#include <QString>

// The reason (with the system's own words where it has some) and a remedy,
// as a few sentences for a message box. `files` are the settings files in
// `folder`.
QString saveFailureReason(const QString& folder, const QStringList& files);
