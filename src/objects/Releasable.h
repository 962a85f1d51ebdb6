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

    // Held while a slot runs script code that could release this very
    // object: the parts it works on are then freed when it is done.
    class Hold {
    public:
        explicit Hold(Releasable& object) : object(object) { ++object.holds; }
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        Releasable& object;
    };

private:
    bool released = false;
    bool freed = false;
    bool told = false;
    int holds = 0;
};
