#pragma once

#include <QObject>

// A script object that a script can give back before it ends. Released, it
// frees what it holds at once; its QObject stays behind for the script's
// wrapper, and every later call on it does nothing and says so once.
class Releasable : public QObject {
public:
    using QObject::QObject;

    void release();
    bool isReleased() const { return released; }

    // Every script call of a slot passes through here; a released object
    // answers it with the result type's default.
    int qt_metacall(QMetaObject::Call call, int id, void** args) override;

protected:
    // Frees the heavy parts (pictures, fonts, samples, audio voices).
    virtual void freeResources() = 0;

private:
    bool released = false;
    bool told = false;
};
