#include "app/ui.h"

#include "app/textio.h"

#include <QPlainTextEdit>

#include <cmath>

QFont ProgramFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

void InstallFontSubstitutes()
{
    for (const char* name : {"Helv Label", "Arial"})
        QFont::insertSubstitutions(QString::fromLatin1(name),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("Helvetica"), QStringLiteral("sans-serif")});
}

QString BoxText(const QPlainTextEdit* box)
{
    return FromWidgetText(box->toPlainText());
}

void SetBoxText(QPlainTextEdit* box, const QString& programText)
{
    box->setPlainText(ToWidgetText(programText));
}
