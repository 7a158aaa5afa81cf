#pragma once

#include <QString>
#include <QTemporaryDir>

// A throwaway program folder with small topic libraries (topic k of each reads
// "Issue topic k" or "Argument topic k"), the four button pictures and user/.
class ProgramFolder {
public:
    ProgramFolder();

    // The folder as the system would report it (no trailing separator).
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// A library of count topics, each a single line "<word> topic k".
QByteArray SmallLibrary(const char* word, int count);
