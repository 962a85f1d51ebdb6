#pragma once

#include "objects/Releasable.h"

#include <QScriptContext>
#include <QScriptEngine>
#include <QScriptValue>
#include <type_traits>
#include <utility>

// The engine's own call of a slot looks the method up by name, matches its
// parameter types and boxes every argument and the result in QVariants, all
// with allocations. The slots scripts call many times a frame get a native
// function in their place on the wrapper that calls the C++ directly when
// the call is a plain one, and hands every other call (too few arguments,
// values of other kinds, a foreign `this`, a released object) to the
// engine's own method, so results, conversions and errors stay its own.
namespace direct {

// Runs the slot on self for the call in ctx and stores its result; false
// when the call is not a plain one.
using Run = bool (*)(QObject* self, QScriptContext* ctx, QScriptValue& result);

struct Slot {
    const char* name;
    Run run;
};

struct Slots {
    const Slot* begin;
    int count;
};

// Puts a native function for every slot in list on the wrapper, in place of
// the engine's method of the same name.
void install(QScriptValue& wrapper, Slots list);

// The kinds of value the engine converts to a parameter type in the plain
// way (a number truncated to 32 bits, a boolean as it is, any value).
template <typename T> struct Arg;
template <> struct Arg<int> {
    static bool fits(const QScriptValue& v) { return v.isNumber(); }
    static int from(const QScriptValue& v) { return v.toInt32(); }
};
template <> struct Arg<bool> {
    static bool fits(const QScriptValue& v) { return v.isBool(); }
    static bool from(const QScriptValue& v) { return v.toBool(); }
};
template <> struct Arg<QScriptValue> {
    static bool fits(const QScriptValue&) { return true; }
    static QScriptValue from(const QScriptValue& v) { return v; }
};

// The slot Method of a wrapper whose object is a C. The engine calls a
// method on `this` only when it is of the class of the wrapper the method
// came from, so C is that class, not the one that declares Method.
template <typename C, auto Method> struct Bind;
template <typename C, typename B, typename R, typename... A, R (B::*Method)(A...)>
struct Bind<C, Method> {
    static bool run(QObject* self, QScriptContext* ctx, QScriptValue& result)
    {
        C* object = qobject_cast<C*>(self);
        if (!object || ctx->argumentCount() < int(sizeof...(A)))
            return false;
        if constexpr (std::is_base_of_v<Releasable, C>) {
            if (object->isReleased())
                return false;
        }
        return call(object, ctx, result, std::index_sequence_for<A...>{});
    }

private:
    template <std::size_t... I>
    static bool call(C* object, QScriptContext* ctx, QScriptValue& result,
                     std::index_sequence<I...>)
    {
        // Every call into the engine's interface costs; each argument is
        // fetched once.
        [[maybe_unused]] const QScriptValue args[sizeof...(A) + 1] = {ctx->argument(int(I))...};
        if (!(Arg<A>::fits(args[I]) && ...))
            return false;
        if constexpr (std::is_void_v<R>) {
            (object->*Method)(Arg<A>::from(args[I])...);
            result = ctx->engine()->undefinedValue();
        } else if constexpr (std::is_same_v<R, QScriptValue>) {
            result = (object->*Method)(Arg<A>::from(args[I])...);
        } else {
            result = QScriptValue(ctx->engine(), (object->*Method)(Arg<A>::from(args[I])...));
        }
        return true;
    }
};

} // namespace direct

// One entry of a list of direct slots: the slot method of Base, on wrappers
// of Class.
#define LEDGE_DIRECT(Class, Base, method)                                                          \
    direct::Slot                                                                                   \
    {                                                                                              \
#method, &direct::Bind < Class, &Base::method> ::run                                       \
    }
