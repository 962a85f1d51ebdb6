#pragma once

#include <QScriptValue>
#include <QString>

// Hands visit() the elements of a script array from index 0 up while it
// returns true. The length is read again before every step: converting an
// element may run script code that changes the array.
template <typename Visit> void forEachElement(const QScriptValue& array, Visit&& visit)
{
    for (qint32 i = 0; i < array.property(QStringLiteral("length")).toInt32(); ++i) {
        if (!visit(array.property(quint32(i))))
            return;
    }
}
