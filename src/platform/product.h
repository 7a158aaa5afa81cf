#pragma once

#include "version.h"

#include <QString>

// The product's own names, defined once for every window, link and message box.
namespace Product {
inline const QString Version = QStringLiteral(QEL_VERSION);
inline const QString Title = QStringLiteral("QEL Simulator");
inline const QString TitleWithVersion = Title + QLatin1Char(' ') + Version;
inline const QString AuthorName = QStringLiteral("Robin Quill");
inline const QString AuthorMail = QStringLiteral("rq@qelsim.example");
inline const QString DistributorName = QStringLiteral("QEL Practice Room");
inline const QString WebAddress = QStringLiteral("www.qelsim.example");
} // namespace Product
