#include "objects/DirectCalls.h"

#include <QLatin1String>
#include <QPointer>
#include <memory>
#include <vector>

namespace direct {

namespace {

bool frameReadable = false;

struct Binding;

// What one native function of a wrapper knows.
struct Bound {
    const Slot* slot;
    const Binding* binding;
};

// The wrapper the functions were put on and its object. The native
// functions' data keeps the wrapper alive, so while one of them can be
// called no other object can take the wrapper's address.
struct Binding {
    QPointer<QObject> object;
    quint64 wrapper;
    std::vector<Bound> bound;

    // The object when the call's `this` is the wrapper, read from the frame.
    QObject* objectOf(const QScriptContext* ctx) const
    {
        return frameReadable && frame::argument(ctx, -1) == wrapper ? object.data() : nullptr;
    }
};

} // namespace
} // namespace direct

Q_DECLARE_METATYPE(std::shared_ptr<direct::Binding>)

namespace direct {
namespace {

// Compares what the frame holds with what the interface answers for a call
// made by script code, with every kind of value a plain call may carry.
QScriptValue compareFrame(QScriptContext* ctx, QScriptEngine*, void* arg)
{
    bool& same = *static_cast<bool*>(arg);
    same = ctx->argumentCount() == 10 &&
           frame::argument(ctx, -1) == quint64(ctx->thisObject().objectId());
    for (int i = 0; same && i < ctx->argumentCount(); ++i) {
        const QScriptValue v = ctx->argument(i);
        const quint64 bits = frame::argument(ctx, i);
        same = Arg<int>::fits(bits) == Arg<int>::fits(v) &&
               Arg<bool>::fits(bits) == Arg<bool>::fits(v) &&
               (!v.isNumber() || Arg<int>::from(bits) == Arg<int>::from(v)) &&
               (!v.isBool() || Arg<bool>::from(bits) == Arg<bool>::from(v));
    }
    return QScriptValue();
}

// In an engine of its own, so no game's state can get in the way.
bool checkFrameLayout()
{
    QScriptEngine engine;
    bool same = false;
    QScriptValue caller =
        engine.evaluate(QStringLiteral("(function (o) { o.f(7, -2.5, 4294967301.75, -1e300, 0/0, "
                                       "true, false, 'x', null, {}); })"));
    QScriptValue object = engine.newObject();
    object.setProperty(QStringLiteral("f"), engine.newFunction(compareFrame, &same));
    caller.call(QScriptValue(), QScriptValueList{object});
    return same;
}

QScriptValue call(QScriptContext* ctx, QScriptEngine* engine, void* arg)
{
    const Bound& bound = *static_cast<const Bound*>(arg);
    QScriptValue result;
    QObject* self = bound.binding->objectOf(ctx);
    if (bound.slot->run(self ? self : ctx->thisObject().toQObject(), ctx, result))
        return result;
    // Everything else is the engine's: its methods are kept in our data.
    QScriptValue own = ctx->callee().data().property(QLatin1String(bound.slot->name));
    const QScriptValue value = own.call(ctx->thisObject(), ctx->argumentsObject());
    return engine->hasUncaughtException() ? ctx->throwValue(value) : value;
}

} // namespace

bool frame::readable()
{
    return frameReadable;
}

void install(QScriptValue& wrapper, Slots list)
{
    QScriptEngine* engine = wrapper.engine();
    static const bool checked = (frameReadable = checkFrameLayout(), true);
    Q_UNUSED(checked);
    const auto binding = std::make_shared<Binding>();
    binding->object = wrapper.toQObject();
    binding->wrapper = quint64(wrapper.objectId());
    binding->bound.reserve(std::size_t(list.count));
    // The data of every function: the engine's methods, the wrapper, and
    // the binding, freed when the last of them is collected.
    QScriptValue data = engine->newObject();
    data.setProperty(QStringLiteral("wrapper"), wrapper);
    data.setProperty(QStringLiteral("binding"), engine->newVariant(QVariant::fromValue(binding)));
    for (const Slot* slot = list.begin; slot != list.begin + list.count; ++slot) {
        const QLatin1String name(slot->name);
        const QScriptValue own = wrapper.property(name);
        if (!own.isFunction())
            continue;
        data.setProperty(name, own);
        binding->bound.push_back({slot, binding.get()});
        QScriptValue function = engine->newFunction(call, &binding->bound.back());
        function.setData(data);
        // A wrapper keeps a value put under a method's name in that method's place.
        wrapper.setProperty(name, function);
    }
}

} // namespace direct
