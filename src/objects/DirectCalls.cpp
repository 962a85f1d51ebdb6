#include "objects/DirectCalls.h"

#include <QLatin1String>

namespace direct {

namespace {

QScriptValue call(QScriptContext* ctx, QScriptEngine* engine, void* arg)
{
    const Slot& slot = *static_cast<const Slot*>(arg);
    QScriptValue result;
    if (slot.run(ctx->thisObject().toQObject(), ctx, result))
        return result;
    // Everything else is the engine's: its method is kept as our data.
    QScriptValue own = ctx->callee().data();
    const QScriptValue value = own.call(ctx->thisObject(), ctx->argumentsObject());
    return engine->hasUncaughtException() ? ctx->throwValue(value) : value;
}

} // namespace

void install(QScriptValue& wrapper, Slots list)
{
    QScriptEngine* engine = wrapper.engine();
    for (const Slot* slot = list.begin; slot != list.begin + list.count; ++slot) {
        const QLatin1String name(slot->name);
        const QScriptValue own = wrapper.property(name);
        if (!own.isFunction())
            continue;
        QScriptValue function = engine->newFunction(call, const_cast<Slot*>(slot));
        function.setData(own);
        // A wrapper keeps a value put under a method's name in that method's place.
        wrapper.setProperty(name, function);
    }
}

} // namespace direct
