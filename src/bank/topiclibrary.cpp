#include "bank/topiclibrary.h"

#include "platform/fault.h"
#include "platform/textio.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {

// Hands out the file's lines one at a time, reading it in large chunks so that
// the cost stays proportional to what is read. Lines are views into the chunk;
// only a line that straddles two chunks is copied.
class LineReader {
public:
    explicit LineReader(QFile& file) : file_(file) {}

    // False at end of file; otherwise line views the next line without its end,
    // valid until the next call.
    bool next(QByteArrayView& line)
    {
        carry_.truncate(0);
        bool carrying = false;
        for (;;) {
            if (pos_ == buffer_.size() && !refill()) {
                if (!carrying)
                    return false;
                // A last line without its line end still counts as a line.
                ++linesRead_;
                line = carry_;
                return true;
            }
            const char* data = buffer_.constData();
            const qsizetype size = buffer_.size();
            if (skipLf_) {
                skipLf_ = false;
                if (data[pos_] == '\n') {
                    ++pos_;
                    continue;
                }
            }
            const char* start = data + pos_;
            const auto* cr = static_cast<const char*>(std::memchr(start, '\r', size - pos_));
            if (!cr) {
                carry_.append(start, size - pos_);
                carrying = true;
                pos_ = size;
                continue;
            }
            const qsizetype length = cr - start;
            pos_ += length + 1;
            skipLf_ = true; // CR LF is one line end, but the LF may be in the next chunk
            ++linesRead_;
            if (carrying) {
                carry_.append(start, length);
                line = carry_;
            } else {
                line = QByteArrayView(start, length);
            }
            return true;
        }
    }

    qsizetype linesRead() const { return linesRead_; }

private:
    bool refill()
    {
        // No bigger than what is left, so a small library costs a small buffer.
        const qint64 left = file_.size() - file_.pos();
        buffer_ = file_.read(left > 0 ? std::min(ChunkSize, left) : ChunkSize);
        pos_ = 0;
        if (buffer_.isEmpty() && file_.error() != QFileDevice::NoError)
            throw Fault(file_.fileName(),
                        QStringLiteral("The file cannot be read: %1.").arg(file_.errorString()));
        return !buffer_.isEmpty();
    }

    static constexpr qint64 ChunkSize = 1 << 20;
    QFile& file_;
    QByteArray buffer_;
    QByteArray carry_;
    qsizetype pos_ = 0;
    bool skipLf_ = false;
    qsizetype linesRead_ = 0;
};

} // namespace

void LoadTopicLibrary(const QString& appFolder, const QString& fileName, int count,
                      TopicTable& table)
{
    const QString path = appFolder + fileName;
    const QFileInfo info(path);
    if (!info.exists())
        throw Fault(path, QStringLiteral("The file was not found."));
    if (info.isDir())
        throw Fault(path, QStringLiteral("A folder stands where the file should be."));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Fault(path, QStringLiteral("The file cannot be opened: %1.").arg(file.errorString()));

    LineReader reader(file);
    TopicTable topics;
    topics.reserve(count);
    QByteArrayView line;
    QByteArray topic;
    for (int k = 1; k <= count; ++k) {
        topic.truncate(0); // keeps its capacity for the next topic
        for (;;) {
            if (!reader.next(line)) {
                throw Fault(path, QStringLiteral("The file ends before the separator of topic %1 "
                                                 "(%2 lines read).")
                                      .arg(k)
                                      .arg(reader.linesRead()));
            }
            if (line == TopicSeparator)
                break;
            topic.append(line.data(), line.size());
            topic.append("\r\n", 2);
        }
        topics.append(TrimSpaces(FromCodePage(topic)));
    }
    table = std::move(topics);
}
