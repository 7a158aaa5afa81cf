#pragma once

#include <QChar>
#include <QString>

// The platform's path separator: every file of the program is named by plain
// concatenation onto the program folder, so the separator must be the system's own.
#ifdef _WIN32
inline constexpr QChar PathSeparator = QLatin1Char('\\');
#else
inline constexpr QChar PathSeparator = QLatin1Char('/');
#endif

// The program folder as the system reports it, ending in exactly one separator:
// one is appended unless the folder already ends in one (as a root does).
QString appFolderOf(const QString& reportedFolder, QChar separator = PathSeparator);
