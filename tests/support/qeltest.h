#pragma once

// What every suite repeats: table columns and rows in one line each.

#include <QtTest>

template <typename... Types, typename... Names> void columns(Names... names)
{
    (QTest::addColumn<Types>(names), ...);
}

template <typename... Values> void row(const char* name, Values... values)
{
    (QTest::newRow(name) << ... << values);
}

// A click on a picture button, as the mouse gives it.
inline void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}
