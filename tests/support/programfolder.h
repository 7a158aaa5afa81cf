#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A throwaway program folder: small topic libraries, the four button pictures and user/.
class ProgramFolder {
public:
    ProgramFolder()
    {
        // Small libraries: each topic the single line "Issue topic k" or "Argument topic k".
        for (const auto& [name, word, count] :
             {std::tuple{"ai.lib", "Issue", 150}, {"aa.lib", "Argument", 141}}) {
            QByteArray bytes;
            for (int k = 1; k <= count; ++k)
                bytes += word + QByteArray(" topic ") + QByteArray::number(k) +
                         "\r\n-----------------------\r\n";
            write(name, bytes);
        }
        const QString data = qEnvironmentVariable("QEL_SOURCE_DIR") + QStringLiteral("/data/");
        for (const char* gif : {"confirm0.gif", "confirm1.gif", "next0.gif", "next1.gif"})
            QFile::copy(data + QLatin1String(gif), file(QLatin1String(gif)));
        QDir(path()).mkdir(QStringLiteral("user"));
    }

    // The folder as the system would report it (no trailing separator).
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(file(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir_;
};
