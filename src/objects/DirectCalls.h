#pragma once

#include "core/ScriptNumber.h"
#include "objects/Releasable.h"

#include <QScriptContext>
#include <QScriptEngine>
#include <QScriptValue>
#include <cstring>
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

// The engine keeps a script call's `this` and arguments in its register file
// just below the call frame's header, each as a 64-bit value that holds a
// number or a boolean in its own bits. Reading them there spares the
// arguments object (a collected object per call), a look-up per argument
// and the thread-local look-ups of every interface call. The layout is the
// engine library's own, so install() checks it once against the engine's
// interface and every call keeps the interface's way when it does not hold.
namespace frame {
bool readable();
// Index -1 is `this`: an object there is its address, as objectId() gives it.
inline quint64 argument(const QScriptContext* ctx, int index)
{
    constexpr int headerSize = 8;
    const auto* registers = reinterpret_cast<const quint64*>(ctx);
    return registers[index + 1 - headerSize - (ctx->argumentCount() + 1)];
}
constexpr quint64 numberTag = 0xffff000000000000ull;
constexpr quint64 doubleOffset = 1ull << 48;
constexpr quint64 falseBits = 0x06;
constexpr quint64 trueBit = 0x10;
} // namespace frame

// The kinds of value the engine converts to a parameter type in the plain
// way (a number truncated to 32 bits, a boolean as it is, any value), read
// through the interface or straight from the frame.
template <typename T> struct Arg;
template <> struct Arg<int> {
    static constexpr bool inFrame = true;
    static bool fits(const QScriptValue& v) { return v.isNumber(); }
    static int from(const QScriptValue& v) { return v.toInt32(); }
    static bool fits(quint64 bits) { return bits & frame::numberTag; }
    static int from(quint64 bits)
    {
        if ((bits & frame::numberTag) == frame::numberTag)
            return int(qint32(quint32(bits)));
        double d;
        bits -= frame::doubleOffset;
        std::memcpy(&d, &bits, sizeof d);
        return scriptInt32(d);
    }
};
template <> struct Arg<bool> {
    static constexpr bool inFrame = true;
    static bool fits(const QScriptValue& v) { return v.isBool(); }
    static bool from(const QScriptValue& v) { return v.toBool(); }
    static bool fits(quint64 bits) { return (bits & ~frame::trueBit) == frame::falseBits; }
    static bool from(quint64 bits) { return bits & frame::trueBit; }
};
template <> struct Arg<QScriptValue> {
    static constexpr bool inFrame = false;
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
        if constexpr (sizeof...(A) > 0 && (Arg<A>::inFrame && ...)) {
            if (frame::readable()) {
                const quint64 bits[sizeof...(A)] = {frame::argument(ctx, int(I))...};
                return (Arg<A>::fits(bits[I]) && ...) &&
                       finish(object, ctx, result, Arg<A>::from(bits[I])...);
            }
        }
        // Every call into the engine's interface costs; each argument is
        // fetched once.
        [[maybe_unused]] const QScriptValue args[sizeof...(A) + 1] = {ctx->argument(int(I))...};
        return (Arg<A>::fits(args[I]) && ...) &&
               finish(object, ctx, result, Arg<A>::from(args[I])...);
    }

    template <typename... V>
    static bool finish(C* object, QScriptContext* ctx, QScriptValue& result, V... values)
    {
        if constexpr (std::is_void_v<R>) {
            (object->*Method)(values...);
            result = ctx->engine()->undefinedValue();
        } else if constexpr (std::is_same_v<R, QScriptValue>) {
            result = (object->*Method)(values...);
        } else {
            result = QScriptValue(ctx->engine(), (object->*Method)(values...));
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
