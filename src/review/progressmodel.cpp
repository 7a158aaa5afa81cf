#include "review/progressmodel.h"

#include "bank/topiclibrary.h"
#include "essay/essayreport.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace {

constexpr double SecondsPerDay = 86400;

double dayOf(const QDateTime& when)
{
    // Local time, so that an essay of the evening is on its own day.
    return double(when.date().toJulianDay() - QDate(1970, 1, 1).toJulianDay()) +
           when.time().msecsSinceStartOfDay() / 1000.0 / SecondsPerDay;
}

QString number(double value)
{
    return QLocale().toString(value, 'f', value == std::round(value) ? 0 : 1);
}

} // namespace

ProgressScale valueScale(double low, double high)
{
    if (high <= low)
        high = low + 1;
    const double rough = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (double f : {1.0, 2.0, 5.0}) {
        if (power * f >= rough) {
            step = power * f;
            break;
        }
    }
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

ProgressScale dayScale(double first, double last)
{
    const double low = std::floor(first);
    const double high = std::max(std::floor(last) + 1, low + 1);
    const double span = high - low;
    double step = 91 * std::ceil(span / 6 / 91);
    for (double s : {1.0, 2.0, 7.0, 14.0, 28.0}) {
        if (span / s <= 6) {
            step = s;
            break;
        }
    }
    return {low, low + step * std::ceil(span / step), step};
}

QList<double> runningMedian(const QList<double>& values, int window)
{
    QList<double> medians;
    medians.reserve(values.size());
    std::vector<double> last;
    for (qsizetype i = 0; i < values.size(); ++i) {
        last.assign(values.begin() + std::max<qsizetype>(0, i + 1 - window),
                    values.begin() + i + 1);
        std::sort(last.begin(), last.end());
        const size_t n = last.size();
        medians << (n % 2 ? last[n / 2] : (last[n / 2 - 1] + last[n / 2]) / 2);
    }
    return medians;
}

int topicShade(int count)
{
    return count <= 2 ? count : count <= 4 ? 3 : 4;
}

namespace {

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The scale of a picture's values and how many lie beyond its top.
void fitValues(TimeSeries& series, const QList<double>& values, double floor)
{
    series.values = valueScale(0, bulkTop(values, floor));
    series.above = int(std::count_if(values.begin(), values.end(),
                                     [&series](double v) { return v > series.values.high; }));
}

// The pictures of the timelines' two figures, and their means of the last ten.
void addPaceSeries(Progress& progress, const QList<const ProgressEssay*>& dated)
{
    const std::array<std::pair<TimeSeries*, std::optional<double> ProgressEssay::*>, 2> series{
        {{&progress.firstWord, &ProgressEssay::minutesToFirstWord},
         {&progress.timeLeft, &ProgressEssay::minutesLeft}}};
    const std::array<std::optional<double>*, 2> means{&progress.totals.meanMinutesToFirstWord,
                                                      &progress.totals.meanMinutesLeft};
    for (std::size_t k = 0; k < series.size(); ++k) {
        TimeSeries& chart = *series[k].first;
        QList<double> values;
        for (const ProgressEssay* essay : dated) {
            if (const std::optional<double> value = essay->*series[k].second) {
                chart.points << ProgressPoint{dayOf(essay->when), *value, essay->question.kind};
                values << *value;
            }
        }
        chart.median = runningMedian(values);
        chart.days = progress.words.days;
        fitValues(chart, values, 1);
        if (!values.isEmpty()) {
            const qsizetype from = std::max<qsizetype>(0, values.size() - 10);
            *means[k] = std::accumulate(values.begin() + from, values.end(), 0.0) /
                        double(values.size() - from);
        }
    }
}

// The candidate's ratings, always on the whole scale so that one picture reads like the next.
void addRatingSeries(Progress& progress, const QList<const ProgressEssay*>& dated)
{
    QList<double> values;
    for (const ProgressEssay* essay : dated) {
        if (essay->rating) {
            progress.ratings.points
                << ProgressPoint{dayOf(essay->when), *essay->rating, essay->question.kind};
            values << *essay->rating;
        }
    }
    progress.ratings.median = runningMedian(values);
    progress.ratings.days = progress.words.days;
    progress.ratings.values = ProgressScale{0, 6, 1};
}

} // namespace

double bulkTop(QList<double> values, double floor)
{
    if (values.isEmpty())
        return floor;
    const double fence = 4 * std::max(medianOf({values.begin(), values.end()}), floor);
    double top = floor;
    for (double v : values)
        if (v <= fence)
            top = std::max(top, v);
    return top;
}

Progress makeProgress(const QList<ProgressEssay>& essays, const QDateTime& now)
{
    Progress progress;
    progress.essays = int(essays.size());
    std::array<QList<int>, EssayKinds.size()> counts;
    for (size_t k = 0; k < EssayKinds.size(); ++k)
        counts.at(k) = QList<int>(EssayKinds.at(k).topicCount, 0);
    QList<const ProgressEssay*> dated;
    for (const ProgressEssay& essay : essays) {
        for (size_t k = 0; k < EssayKinds.size(); ++k) {
            QList<int>& kind = counts.at(k);
            if (EssayKinds.at(k).kind == essay.question.kind && essay.question.number >= 1 &&
                essay.question.number <= kind.size())
                ++kind[essay.question.number - 1];
        }
        if (!essay.when.isValid()) {
            ++progress.undated;
            continue;
        }
        // A date after now is a wrong clock: over time it would stretch the
        // picture and count among the newest.
        if (essay.when > now) {
            ++progress.future;
            continue;
        }
        dated << &essay;
        const qint64 ago = essay.when.secsTo(now);
        progress.totals.lastWeek += ago < qint64{7} * 86400;
        progress.totals.lastMonth += ago < qint64{30} * 86400;
    }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const auto* a, const auto* b) { return a->when < b->when; });

    QList<double> words;
    QList<double> slips;
    QList<double> usage;
    for (const ProgressEssay* essay : std::as_const(dated)) {
        const double day = dayOf(essay->when);
        progress.words.points << ProgressPoint{day, double(essay->words), essay->question.kind};
        words << essay->words;
        if (essay->slipsPerHundred) {
            progress.slips.points << ProgressPoint{day, *essay->slipsPerHundred,
                                                   essay->question.kind};
            slips << *essay->slipsPerHundred;
        } else {
            ++progress.slips.waiting;
        }
        if (essay->usagePerHundred) {
            progress.usage.points << ProgressPoint{day, *essay->usagePerHundred,
                                                   essay->question.kind};
            usage << *essay->usagePerHundred;
        } else {
            ++progress.usage.waiting;
        }
    }
    progress.words.median = runningMedian(words);
    progress.slips.median = runningMedian(slips);
    progress.usage.median = runningMedian(usage);
    const double first = dated.isEmpty() ? dayOf(now) : progress.words.points.first().day;
    const double last = dated.isEmpty() ? first : progress.words.points.last().day;
    progress.words.days = progress.slips.days = progress.usage.days = dayScale(first, last);
    // The words' scale always shows the band the report measures against, with
    // a third of it again above, as the report's bar does.
    fitValues(progress.words, words, TargetWords.high * 4.0 / 3);
    fitValues(progress.slips, slips, 1);
    fitValues(progress.usage, usage, 1);

    const auto median = [&words](qsizetype from, qsizetype to) -> std::optional<double> {
        from = std::max<qsizetype>(from, 0);
        if (from >= to)
            return std::nullopt;
        return medianOf({words.begin() + from, words.begin() + to});
    };
    const qsizetype n = words.size();
    progress.totals.medianLastTen = median(n - 10, n);
    progress.totals.medianTenBefore = median(n - 20, n - 10);

    addPaceSeries(progress, dated);
    addRatingSeries(progress, dated);

    for (size_t k = 0; k < EssayKinds.size(); ++k) {
        for (int i = 0; i < counts.at(k).size(); ++i) {
            const int count = counts.at(k).at(i);
            progress.cells << TopicCell{{EssayKinds.at(k).kind, i + 1}, count, topicShade(count)};
        }
    }
    return progress;
}

QString totalsLine(const Progress& progress)
{
    if (progress.essays == 0)
        return QStringLiteral("No essays to show.");
    QString line = QStringLiteral("Essays in the last 7 days: %1; in the last 30 days: %2.")
                       .arg(progress.totals.lastWeek)
                       .arg(progress.totals.lastMonth);
    const ProgressTotals& t = progress.totals;
    if (t.medianLastTen && t.medianTenBefore) {
        line +=
            QStringLiteral(" Median words of the last ten essays: %1, against %2 for the ten "
                           "before them.")
                .arg(number(std::round(*t.medianLastTen)), number(std::round(*t.medianTenBefore)));
    } else if (t.medianLastTen) {
        line += QStringLiteral(" Median words of the essays so far: %1; the ten before the last "
                               "ten are still to be written.")
                    .arg(number(std::round(*t.medianLastTen)));
    }
    if (t.meanMinutesToFirstWord && t.meanMinutesLeft) {
        line += QStringLiteral(" Of the last ten essays with a timeline: %1 min before the first "
                               "word, %2 min left at the end, in the mean.")
                    .arg(QString::number(*t.meanMinutesToFirstWord, 'f', 1),
                         QString::number(*t.meanMinutesLeft, 'f', 1));
    }
    return line;
}

QString datesLine(const Progress& progress)
{
    QStringList parts;
    if (progress.undated == 1) {
        parts << QStringLiteral(
            "1 essay has a date that cannot be read and is not shown over time.");
    } else if (progress.undated > 1) {
        parts << QStringLiteral("%1 essays have dates that cannot be read and are not shown over "
                                "time.")
                     .arg(progress.undated);
    }
    if (progress.future == 1) {
        parts << QStringLiteral("1 essay is dated after today (the computer's clock may have been "
                                "wrong) and is not shown over time.");
    } else if (progress.future > 1) {
        parts << QStringLiteral("%1 essays are dated after today (the computer's clock may have "
                                "been wrong) and are not shown over time.")
                     .arg(progress.future);
    }
    return parts.join(QLatin1Char(' '));
}

QString seriesSentences(const TimeSeries& series, const QString& what)
{
    if (series.points.isEmpty()) {
        return series.waiting > 0 ? QStringLiteral("%1: still being counted.").arg(what)
                                  : QStringLiteral("%1: no dated essays.").arg(what);
    }
    double low = series.points.first().value;
    double high = low;
    QStringList beyond;
    for (const ProgressPoint& p : series.points) {
        low = std::min(low, p.value);
        high = std::max(high, p.value);
        if (p.value > series.values.high)
            beyond << number(p.value);
    }
    const auto date = [](double day) {
        return QLocale().toString(QDate(1970, 1, 1).addDays(qint64(std::floor(day))),
                                  QLocale::ShortFormat);
    };
    const qsizetype n = series.points.size();
    const QString from = date(series.points.first().day);
    const QString to = date(series.points.last().day);
    QString text;
    if (n == 1) {
        text = QStringLiteral("%1: 1 essay, on %2: %3.").arg(what, from, number(low));
    } else {
        text =
            QStringLiteral("%1: %2 essays %3, %4.")
                .arg(what)
                .arg(n)
                .arg(from == to ? QStringLiteral("on ") + from
                                : QStringLiteral("from %1 to %2").arg(from, to),
                     low == high ? QStringLiteral("each %1").arg(number(low))
                                 : QStringLiteral("from %1 to %2").arg(number(low), number(high)));
    }
    // The running median's fifth figure is the first five's; its last, the last five's.
    const double firstFive = series.median.at(std::min<qsizetype>(4, n - 1));
    const double lastFive = series.median.last();
    if (n > 5 && firstFive != lastFive) {
        text += QStringLiteral(" The median of five essays went from %1 for the first five to %2 "
                               "for the last five.")
                    .arg(number(firstFive), number(lastFive));
    } else if (n > 5) {
        text += QStringLiteral(" The median of five essays stayed at %1 from the first five to "
                               "the last five.")
                    .arg(number(lastFive));
    } else if (n > 1) {
        text += QStringLiteral(" Their median: %1.").arg(number(lastFive));
    }
    if (!beyond.isEmpty()) {
        text += QStringLiteral(" Beyond the top of the picture, drawn at its edge: %1.")
                    .arg(beyond.join(QStringLiteral(", ")));
    }
    if (series.waiting > 0)
        text += QStringLiteral(" %1 more still being counted.").arg(series.waiting);
    return text;
}
