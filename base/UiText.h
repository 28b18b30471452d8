#pragma once
// The texts the user sees are written in Korean, the camera's language, and
// marked for lupdate where they are defined (QT_TRANSLATE_NOOP). UiText gives
// a text kept in a QString in the language chosen at start-up: the Korean
// source itself while no translation is installed, as in the tests.
#include <QCoreApplication>
#include <QString>

inline QString UiText(const char* context, const QString& source)
{
    return QCoreApplication::translate(context, source.toUtf8().constData());
}
