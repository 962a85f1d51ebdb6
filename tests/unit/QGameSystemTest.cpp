#include "runtime/QGameSystem.h"

#include <QMetaMethod>
#include <QStringList>
#include <gtest/gtest.h>

// Scripts and the host connect to these by signature: order and types are fixed.
TEST(QGameSystem, SignalsThenSlotsInOrder)
{
    const QMetaObject& meta = QGameSystem::staticMetaObject;
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        if (m.access() != QMetaMethod::Public)
            continue;
        methods << QStringLiteral("%1 %2 %3")
                       .arg(m.methodType() == QMetaMethod::Signal ? "signal" : "slot",
                            QString::fromLatin1(m.typeName()),
                            QString::fromLatin1(m.methodSignature()));
    }
    EXPECT_EQ(methods, (QStringList{
                           "signal void writeMessage(QString)",
                           "signal void writePair(QString,QVariant)",
                           "signal void showCursor(bool)",
                           "slot void saveObject(QString,QScriptValue)",
                           "slot QScriptValue loadObject(QString)",
                           "slot void saveObjectToAppData(QString,QScriptValue)",
                           "slot QScriptValue loadObjectFromAppData(QString)",
                           "slot void setTimeout(QString,int)",
                           "slot void setInterval(QString,int)",
                       }));
}
