#include "objects/Releasable.h"

#include <QDebug>
#include <QMetaMethod>

void Releasable::release()
{
    if (released)
        return;
    released = true;
    if (holds == 0) {
        freed = true;
        freeResources();
    }
}

Releasable::Hold::~Hold()
{
    if (--object.holds == 0 && object.released && !object.freed) {
        object.freed = true;
        object.freeResources();
    }
}

int Releasable::qt_metacall(QMetaObject::Call call, int id, void** args)
{
    if (released && call == QMetaObject::InvokeMetaMethod &&
        id >= QObject::staticMetaObject.methodCount()) {
        if (!told) {
            told = true;
            qDebug() << QStringLiteral("Call of %1() on a released %2 ignored")
                            .arg(QString::fromLatin1(metaObject()->method(id).name()),
                                 QString::fromLatin1(metaObject()->className()));
        }
        return -1;
    }
    return QObject::qt_metacall(call, id, args);
}
