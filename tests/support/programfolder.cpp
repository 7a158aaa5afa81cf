#include "programfolder.h"

#include <QDir>
#include <QFile>

QByteArray SmallLibrary(const char* word, int count)
{
    QByteArray bytes;
    for (int k = 1; k <= count; ++k)
        bytes += QByteArray(word) + " topic " + QByteArray::number(k) +
                 "\r\n-----------------------\r\n";
    return bytes;
}

ProgramFolder::ProgramFolder()
{
    write(QStringLiteral("ai.lib"), SmallLibrary("Issue", 150));
    write(QStringLiteral("aa.lib"), SmallLibrary("Argument", 141));
    const QString source = qEnvironmentVariable("QEL_SOURCE_DIR") + QStringLiteral("/data/");
    for (const char* gif : {"confirm0.gif", "confirm1.gif", "next0.gif", "next1.gif"})
        QFile::copy(source + QString::fromLatin1(gif), file(QString::fromLatin1(gif)));
    QDir(dir_.path()).mkdir(QStringLiteral("user"));
}

void ProgramFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile f(file(name));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

QByteArray ProgramFolder::read(const QString& name) const
{
    QFile f(file(name));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
