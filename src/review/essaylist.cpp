#include "review/essaylist.h"

#include "bank/topiclibrary.h"
#include "essay/essayfile.h"
#include "essay/selfrating.h"

#include <QColor>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <future>
#include <set>

namespace {

// Read in pieces that stay in the cache while they are decoded.
constexpr qsizetype ChunkSize = qsizetype{64} << 10;
// The answer's first words, as many as a row can show.
constexpr qsizetype PreviewLength = 160;

// The topic an essay file's name gives, if it is a name the program writes.
std::optional<Question> questionOfFile(const QString& name)
{
    static const QRegularExpression Form(QStringLiteral("^(ai|aa|gi)([1-9][0-9]{0,2})\\.txt$"));
    const QRegularExpressionMatch match = Form.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const auto* const kind = std::find_if(EssayKinds.begin(), EssayKinds.end(), [&](const auto& k) {
        return match.capturedView(1) == QLatin1String(k.filePrefix);
    });
    const int number = match.capturedView(2).toInt();
    if (number > kind->topicCount)
        return std::nullopt;
    return Question{kind->kind, number};
}

// Gives every line end CR LF, as the program writes them, in place: a file a
// text editor saved again with LF alone is still read record by record. The
// program itself never writes a lone LF, so none is taken from an answer.
void endLinesInCrLf(QString& text)
{
    const qsizetype size = text.size();
    qsizetype lone = 0;
    for (qsizetype i = 0; i < size; ++i)
        lone += text.at(i) == QLatin1Char('\n') && (i == 0 || text.at(i - 1) != QLatin1Char('\r'));
    if (lone == 0)
        return; // most files: not copied, not touched
    // Moved up from the end, so that the text is never held twice.
    text.resize(size + lone);
    QChar* chars = text.data();
    qsizetype to = size + lone;
    for (qsizetype from = size - 1; from >= 0; --from) {
        const QChar c = chars[from];
        chars[--to] = c;
        if (c == QLatin1Char('\n') && (from == 0 || chars[from - 1] != QLatin1Char('\r')))
            chars[--to] = QLatin1Char('\r');
    }
}

// The file's text in the system's code page, its lines ending in CR LF, read
// in pieces so that the bytes and the text are not both held whole. Gives the
// reason when it is not read.
std::optional<QString> readEssayText(const QFileInfo& info, QString& reason)
{
    // Not opened at all unless it is a regular file: a pipe would never end.
    if (!info.isFile()) {
        reason = QStringLiteral("not a regular file");
        return std::nullopt;
    }
    const QString tooLarge =
        QStringLiteral("larger than %1 MB").arg(LargestEssayFile / (qint64{1} << 20));
    if (info.size() > LargestEssayFile) {
        reason = tooLarge;
        return std::nullopt;
    }
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return std::nullopt;
    }
    // Decoded straight into the text, which holds no more characters than the
    // file has bytes; a file that grows while it is read makes room as it goes.
    QStringDecoder decoder(QStringDecoder::System);
    QString text(qsizetype(info.size()) + 16, Qt::Uninitialized);
    qsizetype used = 0;
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 read = file.read(chunk.data(), ChunkSize);
        if (read < 0) {
            reason = file.errorString();
            return std::nullopt;
        }
        if (read == 0)
            break;
        total += read;
        if (total > LargestEssayFile) {
            reason = tooLarge;
            return std::nullopt;
        }
        const qsizetype needed = used + decoder.requiredSpace(read);
        if (needed > text.size())
            text.resize(std::max(needed, text.size() * 2));
        used = decoder.appendToBuffer(text.data() + used, QByteArrayView(chunk.constData(), read)) -
               text.constData();
    }
    text.truncate(used);
    endLinesInCrLf(text);
    return text;
}

// Only what the candidate wrote counts: not the earlier essays Help brought in.
int ownWords(const EssayRecordPart& part)
{
    return countAnswerWords(part.answer, part.copies).own;
}

// Where a view stands in the text it points into; a null view stays null.
std::pair<qsizetype, qsizetype> spanIn(QStringView text, QStringView view)
{
    return view.isNull() ? std::pair<qsizetype, qsizetype>(-1, 0)
                         : std::pair(qsizetype(view.data() - text.data()), view.size());
}

QStringView viewOf(QStringView text, std::pair<qsizetype, qsizetype> span)
{
    return span.first < 0 ? QStringView() : text.sliced(span.first, span.second);
}

// Newest first; those without a readable date after them, in file order. Two
// records of one file saved in the same second: the later one is the newer.
bool listedBefore(const ListedEssay& a, const ListedEssay& b)
{
    if (!a.when.isValid() || !b.when.isValid())
        return a.when.isValid() && !b.when.isValid();
    if (a.when != b.when)
        return a.when > b.when;
    return a.file == b.file ? a.record > b.record : a.file < b.file;
}

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.isSpace() || c == QChar::ByteOrderMark; });
}

} // namespace

EssayList::EssayList(QObject* parent) : QAbstractTableModel(parent) {}

void EssayList::read(const QString& userFolder, const QLocale& locale, Marks marks)
{
    // The names the program gives essay files, in the kinds' order, by number.
    const QDir folder(userFolder);
    QList<EssayFileName> found;
    const QStringList names =
        folder.entryList({QStringLiteral("a*.txt"), QStringLiteral("gi*.txt")},
                         QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (const std::optional<Question> question = questionOfFile(name))
            found.append({name, *question});
    }
    std::sort(found.begin(), found.end(), [](const EssayFileName& a, const EssayFileName& b) {
        return std::pair(a.question.kind, a.question.number) <
               std::pair(b.question.kind, b.question.number);
    });
    readFiles(folder, found, locale);
    if (marks == Marks::Read)
        setAllMarks(readMarks());
}

bool EssayList::readFile(const QString& path, const QLocale& locale, QString& reason)
{
    const QFileInfo info(path);
    readFiles(info.absoluteDir(),
              {{info.fileName(),
                questionOfFile(info.fileName()).value_or(Question{EssayKind::Issue, 0})}},
              locale);
    setAllMarks(readMarks());
    if (skipped_.isEmpty())
        return true;
    reason = skipped_.first().section(QStringLiteral(" ("), 1).chopped(1);
    return false;
}

EssayList::StoredEssay EssayList::stored(const EssayRecordPart& part, const ListedEssay& listed)
{
    StoredEssay essay{listed,
                      part.text.toUtf8(),
                      {spanIn(part.text, part.date),
                       spanIn(part.text, part.time),
                       spanIn(part.text, part.topic),
                       spanIn(part.text, part.answer),
                       {}},
                      0,
                      part.date.toString(),
                      part.time.toString()};
    for (const QStringView copy : part.copies)
        essay.spans.copies.append(spanIn(part.text, copy));
    essay.answerByte = part.text.first(essay.spans.answer.first).toUtf8().size();
    essay.text.squeeze(); // toUtf8 leaves room for three bytes a character
    return essay;
}

void EssayList::readFiles(const QDir& folder, const QList<EssayFileName>& files,
                          const QLocale& locale)
{
    beginResetModel();
    fileNames_.clear();
    essays_.clear();
    skipped_.clear();
    locale_ = locale;
    folder_ = folder.path();
    RecordDateReader dates(locale);
    // Each file's words are counted on the second core while the next file is
    // read, so that they are there when the list and the pictures first show.
    std::future<QList<int>> counting;
    qsizetype countedFrom = 0;
    const auto collectCounts = [this, &counting, &countedFrom] {
        if (!counting.valid())
            return;
        const QList<int> counted = counting.get();
        for (qsizetype i = 0; i < counted.size(); ++i)
            essays_[countedFrom + i].listed.words = counted.at(i);
    };
    for (const EssayFileName& file : files) {
        QString reason;
        std::optional<QString> text = readEssayText(QFileInfo(folder, file.name), reason);
        if (!text) {
            skipped_ << QStringLiteral("%1 (%2)").arg(file.name, reason);
            continue;
        }
        fileNames_ << file.name;
        const int index = int(fileNames_.size()) - 1;
        const QString whole = std::move(*text);
        QList<EssayRecordPart> listed;
        int records = 0;
        for (const EssayRecordPart& part : splitEssayRecords(whole)) {
            if (!part.isRecord && isBlank(part.text))
                continue;
            const QDateTime when = part.isRecord ? dates.read(part.date, part.time) : QDateTime();
            essays_.append(stored(
                part,
                {file.question, index, part.isRecord, when, 0, part.isRecord ? ++records : 0, {}}));
            listed.append(part);
        }
        collectCounts();
        countedFrom = essays_.size() - listed.size();
        // The views point into the file's text, which the counting holds until it is done.
        counting = std::async(std::launch::async, [whole, listed = std::move(listed)] {
            QList<int> counted;
            counted.reserve(listed.size());
            for (const EssayRecordPart& part : listed)
                counted.append(ownWords(part));
            return counted;
        });
    }
    collectCounts();
    std::stable_sort(essays_.begin(), essays_.end(),
                     [](const StoredEssay& a, const StoredEssay& b) {
                         return listedBefore(a.listed, b.listed);
                     });

    std::set<std::pair<EssayKind, int>> topics;
    records_ = 0;
    for (const StoredEssay& essay : std::as_const(essays_)) {
        if (essay.listed.isRecord) {
            ++records_;
            topics.insert({essay.listed.question.kind, essay.listed.question.number});
        }
    }
    topicsWritten_.fill(0);
    for (const auto& topic : topics)
        ++topicsWritten_.at(std::size_t(topic.first));
    endResetModel();
}

QList<RecordMarks> EssayList::readMarks() const
{
    // Each file's records in file order, as its notes name them.
    QHash<int, QList<int>> rowsByFile;
    for (int row = 0; row < essays_.size(); ++row) {
        if (essays_.at(row).listed.isRecord)
            rowsByFile[essays_.at(row).listed.file].append(row);
    }
    QList<RecordMarks> marks(essays_.size());
    const QDir folder(folder_);
    for (auto file = rowsByFile.begin(); file != rowsByFile.end(); ++file) {
        const QByteArray notes =
            readNotesFile(folder.filePath(notesFilePath(fileNames_.at(file.key()))));
        if (notes.isEmpty())
            continue;
        std::sort(file.value().begin(), file.value().end(), [this](int a, int b) {
            return essays_.at(a).listed.record < essays_.at(b).listed.record;
        });
        QList<SavedEssay> read; // what the records' views point into
        QList<NotedRecord> records;
        for (const int row : std::as_const(file.value())) {
            read.append(essay(row));
            const EssayRecordPart& part = read.last().part;
            records.append({part.text, part.date, part.time});
        }
        const QList<RecordMarks> found = matchMarks(notes, records);
        for (qsizetype i = 0; i < found.size(); ++i)
            marks[file.value().at(i)] = found.at(i);
    }
    return marks;
}

void EssayList::setAllMarks(const QList<RecordMarks>& marks)
{
    for (qsizetype row = 0; row < std::min(marks.size(), essays_.size()); ++row)
        essays_[row].listed.marks = marks.at(row);
    if (!essays_.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void EssayList::setMarks(int row, const RecordMarks& marks)
{
    essays_[row].listed.marks = marks;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int EssayList::words(int row) const
{
    return essays_.at(row).listed.words;
}

SavedEssay EssayList::essay(int row) const
{
    const StoredEssay& stored = essays_.at(row);
    SavedEssay essay;
    static_cast<ListedEssay&>(essay) = stored.listed;
    essay.heldText = QString::fromUtf8(stored.text);
    const QStringView text(essay.heldText);
    const PartSpans& spans = stored.spans;
    essay.part = {text,
                  stored.listed.isRecord,
                  viewOf(text, spans.date),
                  viewOf(text, spans.time),
                  viewOf(text, spans.topic),
                  viewOf(text, spans.answer),
                  {}};
    for (const auto& copy : spans.copies)
        essay.part.copies.append(viewOf(text, copy));
    return essay;
}

QString EssayList::shownDate(const QDate& date) const
{
    // The year in full, in the user's regional order, as the program writes it.
    return locale_.toString(date, recordDateFormat(locale_));
}

QString EssayList::summary() const
{
    QString line = QStringLiteral("%1 %2 on %3 of the %4 Issue topics and %5 of the %6 Argument "
                                  "topics.")
                       .arg(records_)
                       .arg(records_ == 1 ? QStringLiteral("essay") : QStringLiteral("essays"))
                       .arg(topicsWritten_.at(0))
                       .arg(IssueTopicCount)
                       .arg(topicsWritten_.at(1))
                       .arg(ArgumentTopicCount);
    // The GRE's topics are named once the candidate has written one.
    if (const int gre = topicsWritten_.at(std::size_t(EssayKind::GreIssue)); gre > 0)
        line += QStringLiteral(" GRE Issue topics: %1 of %2.").arg(gre).arg(GreIssueTopicCount);
    const qsizetype loose = essays_.size() - records_;
    if (loose > 0) {
        line += QStringLiteral(" %1 not laid out as a saved essay, listed as text.")
                    .arg(loose == 1 ? QStringLiteral("1 part is")
                                    : QStringLiteral("%1 parts are").arg(loose));
    }
    if (!skipped_.isEmpty())
        line += QStringLiteral(" Not read: %1.").arg(skipped_.join(QStringLiteral(", ")));
    return line;
}

int EssayList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(essays_.size());
}

int EssayList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EssayList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole) {
        return index.column() == NumberColumn || index.column() == WordsColumn ||
                       index.column() == RatingColumn
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    const ListedEssay& essay = essays_.at(index.row()).listed;
    // A left-out essay stays in the list, greyed and said to be left out.
    if (essay.marks.leftOut && (role == Qt::ForegroundRole || role == Qt::ToolTipRole)) {
        return role == Qt::ForegroundRole
                   ? QVariant(QColor(0x80, 0x80, 0x80))
                   : QVariant(QStringLiteral("Left out of the progress pictures and totals"));
    }
    if (role == SortRole) {
        switch (index.column()) {
        case DateColumn:
            return essay.when;
        case TimeColumn:
            return essay.when.isValid() ? essay.when.time() : QTime();
        case AnswerColumn:
            return shown(index).toString().toLower();
        case RatingColumn:
            return essay.marks.rating.value_or(-1); // unrated below every rating
        default:
            return shown(index);
        }
    }
    return role == Qt::DisplayRole ? shown(index) : QVariant();
}

QVariant EssayList::shown(const QModelIndex& index) const
{
    const StoredEssay& stored = essays_.at(index.row());
    const ListedEssay& essay = stored.listed;
    switch (index.column()) {
    case DateColumn:
        // Records saved under other regional settings show in the same form;
        // a date that cannot be read shows as it stands in the file.
        return essay.when.isValid() ? shownDate(essay.when.date()) : stored.date;
    case TimeColumn:
        return stored.time;
    case KindColumn:
        return kindName(essay.question.kind);
    case NumberColumn:
        return essay.question.number;
    case WordsColumn:
        return words(index.row());
    case AnswerColumn: {
        // Only the answer's first bytes are read back: four make a character at most.
        const QString start = QString::fromUtf8(
            QByteArrayView(stored.text)
                .sliced(stored.answerByte,
                        std::min(PreviewLength * 4, stored.text.size() - stored.answerByte)));
        return start.first(std::min({PreviewLength, stored.spans.answer.second, start.size()}))
            .simplified();
    }
    case RatingColumn: {
        QString rating = essay.marks.rating ? ratingText(*essay.marks.rating) : QString();
        if (essay.marks.leftOut)
            rating += rating.isEmpty() ? QStringLiteral("left out") : QStringLiteral(", left out");
        return rating;
    }
    default:
        return {};
    }
}

QVariant EssayList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const std::array<QString, ColumnCount> Headings{
        QStringLiteral("Date"),  QStringLiteral("Time"),  QStringLiteral("Kind"),
        QStringLiteral("No."),   QStringLiteral("Words"), QStringLiteral("Answer"),
        QStringLiteral("Rating")};
    return section >= 0 && section < ColumnCount ? Headings.at(section) : QVariant();
}

EssaySearch::EssaySearch(const QString& search)
{
    for (const QString& word : search.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words_.append(QStringMatcher(word, Qt::CaseInsensitive));
}

bool EssaySearch::matches(const SavedEssay& essay) const
{
    return std::all_of(words_.begin(), words_.end(), [&essay](const QStringMatcher& word) {
        return word.indexIn(essay.part.topic) >= 0 || word.indexIn(essay.part.answer) >= 0;
    });
}

void EssayFilter::setFilter(std::optional<EssayKind> kind, const QString& search)
{
    setFilter(kind, search, {});
}

void EssayFilter::setFilter(std::optional<EssayKind> kind, const QString& search,
                            QList<bool> matches)
{
    kind_ = kind;
    search_ = EssaySearch(search);
    matches_ = std::move(matches);
    invalidateRowsFilter();
}

void EssayFilter::setTopic(std::optional<Question> topic)
{
    topic_ = topic;
    invalidateRowsFilter();
}

bool EssayFilter::passes(int sourceRow) const
{
    const auto* list = static_cast<const EssayList*>(sourceModel());
    if (kind_ && list->listed(sourceRow).question.kind != *kind_)
        return false;
    if (search_.isEmpty())
        return true;
    return sourceRow < matches_.size() ? matches_.at(sourceRow)
                                       : search_.matches(list->essay(sourceRow));
}

bool EssayFilter::filterAcceptsRow(int sourceRow, const QModelIndex& /*sourceParent*/) const
{
    const auto* list = static_cast<const EssayList*>(sourceModel());
    return (!topic_ || list->listed(sourceRow).question == *topic_) && passes(sourceRow);
}
