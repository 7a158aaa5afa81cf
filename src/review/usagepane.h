#pragma once

// The report's "Usage and mechanics" section: the slips a rule finds for
// certain, each once with its count and correction, and each family per
// hundred words.

#include "review/reportview.h"

#include <QColor>

struct UsageReport;

// The colour the Review window underlines these slips in, apart from spelling's red.
inline const QColor UsageUnderline(0x1E, 0x5A, 0xC8);

ReportSection usageSection(const UsageReport& usage);
