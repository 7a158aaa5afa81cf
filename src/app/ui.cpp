#include "app/ui.h"

#include "app/textio.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <cmath>

QFont ProgramFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

void InstallProgramFonts()
{
    for (const char* name : {"Helv Label", "Arial", "MS Sans Serif"})
        QFont::insertSubstitutions(QString::fromLatin1(name),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("Helvetica"), QStringLiteral("sans-serif")});
    // The system's dialog font of the design: 8 points, narrow enough for the
    // captions to fit the controls' fixed sizes.
    QApplication::setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 8));
}

QString BoxText(const QPlainTextEdit* box)
{
    return FromWidgetText(box->toPlainText());
}

void SetBoxText(QPlainTextEdit* box, const QString& programText)
{
    box->setPlainText(ToWidgetText(programText));
}
