#pragma once

// Getting what was written onto the disk, so that it outlives a power cut:
// QFile::flush only hands it to the system, which may keep it in memory for a
// while and may write a file's name and its contents in any order.

#include <QFileDevice>
#include <QString>

// Waits until what was written to the open file is on the disk. On failure
// returns false and gives the system's reason.
bool syncFile(QFileDevice& file, QString& reason);

// Waits until the folder's names (a file just created, one renamed over
// another) are on the disk. On failure returns false and gives the system's
// reason.
bool syncFolder(const QString& folder, QString& reason);
