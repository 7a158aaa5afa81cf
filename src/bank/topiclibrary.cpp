#include "bank/topiclibrary.h"

#include "platform/fault.h"
#include "platform/textio.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {

// Read in pieces of this size, each scanned while it is still in the cache.
constexpr qsizetype ChunkSize = qsizetype{1} << 20;
// Room taken at once for a file of known size; a larger one grows as it is read.
constexpr qsizetype LargestFirstBuffer = qsizetype{256} << 20;

QString linesRead(qsizetype lines)
{
    return lines == 1 ? QStringLiteral("1 line read") : QStringLiteral("%1 lines read").arg(lines);
}

// Whether the separator stands on a line of its own when LF alone ends a line,
// somewhere in bytes: the sign of a library whose line ends were converted.
bool hasLfSeparator(QByteArrayView bytes)
{
    const qsizetype length = TopicSeparator.size();
    for (qsizetype at = bytes.indexOf(TopicSeparator); at >= 0;
         at = bytes.indexOf(TopicSeparator, at + 1)) {
        const bool lineStart = at == 0 || bytes.at(at - 1) == '\n' || bytes.at(at - 1) == '\r';
        const qsizetype after = at + length;
        const bool lineEnd =
            after == bytes.size() || bytes.at(after) == '\n' || bytes.at(after) == '\r';
        if (lineStart && lineEnd)
            return true;
    }
    return false;
}

} // namespace

// One pass over the file as it is read: lines are found with memchr, and only
// the separators' places are kept.
class TopicScanner {
public:
    TopicScanner(const QString& path, int count) : path_(path), count_(count) {}

    TopicTable load()
    {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw Fault(path_,
                        QStringLiteral("The file cannot be opened: %1.").arg(file.errorString()));
        const qint64 expected = file.size();
        table_.bytes_.resize(
            static_cast<qsizetype>(std::clamp<qint64>(expected, 1, LargestFirstBuffer)));
        table_.topics_.reserve(count_);
        for (;;) {
            scan();
            if (table_.topics_.size() == count_)
                break;
            if (atEnd_)
                fail();
            if (filled_ >= LargestReadFile)
                throw Fault(path_, QStringLiteral("The file holds too few topics in its first "
                                                  "256 MB; nothing beyond them is read."));
            QByteArray& bytes = table_.bytes_;
            if (filled_ == bytes.size())
                bytes.resize(std::max(bytes.size() * 2, filled_ + ChunkSize));
            const qint64 read =
                file.read(bytes.data() + filled_, std::min(ChunkSize, bytes.size() - filled_));
            if (read < 0)
                throw Fault(path_,
                            QStringLiteral("The file cannot be read: %1.").arg(file.errorString()));
            atEnd_ = read == 0;
            filled_ += read;
        }
        // Only the topics' bytes stay; a library with much behind its last
        // topic gives the room back.
        QByteArray& bytes = table_.bytes_;
        bytes.resize(table_.topics_.isEmpty() ? 0 : table_.topics_.constLast().end);
        if (bytes.capacity() - bytes.size() > ChunkSize)
            bytes.squeeze();
        return std::move(table_);
    }

private:
    // Takes every whole line in what has been read so far.
    void scan()
    {
        const char* data = table_.bytes_.constData();
        while (table_.topics_.size() < count_) {
            const auto* cr = static_cast<const char*>(
                std::memchr(data + searchFrom_, '\r', filled_ - searchFrom_));
            qsizetype lineEnd = 0;
            qsizetype next = 0;
            bool loneCr = false;
            if (cr) {
                lineEnd = cr - data;
                // Whether an LF follows decides where the next line starts.
                if (lineEnd + 1 == filled_ && !atEnd_) {
                    searchFrom_ = lineEnd;
                    return;
                }
                next = lineEnd + 1;
                if (next < filled_ && data[next] == '\n')
                    ++next;
                else
                    loneCr = true;
            } else {
                // A last line without its line end still counts as a line.
                if (!atEnd_ || lineStart_ == filled_) {
                    searchFrom_ = filled_;
                    return;
                }
                lineEnd = next = filled_;
            }
            ++lines_;
            if (lineEnd - lineStart_ == TopicSeparator.size() &&
                std::memcmp(data + lineStart_, TopicSeparator.constData(), TopicSeparator.size()) ==
                    0) {
                qsizetype begin = topicBegin_;
                while (begin < lineStart_ && data[begin] == ' ')
                    ++begin;
                table_.topics_.append({begin, lineStart_, topicLoneCr_});
                topicBegin_ = next;
                topicLoneCr_ = false;
            } else {
                topicLoneCr_ = topicLoneCr_ || loneCr;
            }
            lineStart_ = searchFrom_ = next;
        }
    }

    [[noreturn]] void fail() const
    {
        const int topic = static_cast<int>(table_.topics_.size()) + 1;
        const QByteArrayView rest(table_.bytes_.constData() + topicBegin_, filled_ - topicBegin_);
        if (hasLfSeparator(rest)) {
            throw Fault(path_,
                        QStringLiteral("The lines of the file end in LF alone, not in CR LF, "
                                       "so the separator of topic %1 is never found (%2).")
                            .arg(topic)
                            .arg(linesRead(lines_)));
        }
        throw Fault(path_, QStringLiteral("The file ends before the separator of topic %1 (%2).")
                               .arg(topic)
                               .arg(linesRead(lines_)));
    }

    const QString& path_;
    const int count_;
    TopicTable table_;
    qsizetype filled_ = 0;
    bool atEnd_ = false;
    qsizetype lineStart_ = 0;
    qsizetype searchFrom_ = 0;
    qsizetype lines_ = 0;
    qsizetype topicBegin_ = 0;
    bool topicLoneCr_ = false;
};

QString TopicTable::at(qsizetype index) const
{
    const Topic& topic = topics_.at(index);
    const QByteArrayView bytes(bytes_.constData() + topic.begin, topic.end - topic.begin);
    if (!topic.loneCr)
        return fromCodePage(bytes);
    // Every CR in a topic ends a line, and a line of the text ends in CR LF.
    QByteArray lines;
    lines.reserve(bytes.size() + bytes.size() / 8);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        lines += bytes[i];
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            lines += '\n';
    }
    return fromCodePage(lines);
}

void loadTopicLibrary(const QString& appFolder, const QString& fileName, int count,
                      TopicTable& table)
{
    const QString path = appFolder + fileName;
    const QFileInfo info(path);
    if (!info.exists())
        throw Fault(path, QStringLiteral("The file was not found."));
    if (info.isDir())
        throw Fault(path, QStringLiteral("A folder stands where the file should be."));
    table = TopicScanner(path, count).load();
}
