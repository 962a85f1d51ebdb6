#include "runtime/ScriptLibrary.h"

#include <QScriptContext>
#include <QScriptEngine>

namespace {

const char* const libraryText = R"js((function () {
function add(o, name, f) {
    if (!(name in o))
        Object.defineProperty(o, name, {value: f, writable: true, configurable: true, enumerable: false});
}
function toInt(v) { v = Number(v); return v !== v ? 0 : (v < 0 ? Math.ceil(v) : Math.floor(v)); }
function start(len, v, d) { v = v === undefined ? d : toInt(v); return v < 0 ? Math.max(len + v, 0) : Math.min(v, len); }
function same(a, b) { return a === b || (a !== a && b !== b); }
var A = Array.prototype, S = String.prototype;

add(A, "includes", function (x, from) {
    for (var i = start(this.length >>> 0, from, 0); i < (this.length >>> 0); i++) if (same(this[i], x)) return true;
    return false;
});
add(A, "find", function (f, self) {
    for (var i = 0; i < (this.length >>> 0); i++) if (f.call(self, this[i], i, this)) return this[i];
    return undefined;
});
add(A, "findIndex", function (f, self) {
    for (var i = 0; i < (this.length >>> 0); i++) if (f.call(self, this[i], i, this)) return i;
    return -1;
});
add(A, "fill", function (v, from, to) {
    var len = this.length >>> 0;
    for (var i = start(len, from, 0), end = start(len, to, len); i < end; i++) this[i] = v;
    return this;
});
add(Array, "from", function (items, f, self) {
    var out = [], src = typeof items === "string" ? items.split("") : Object(items);
    for (var i = 0; i < (src.length >>> 0); i++) out.push(f ? f.call(self, src[i], i) : src[i]);
    return out;
});
add(Array, "of", function () { return A.slice.call(arguments); });

add(Object, "assign", function (target) {
    var to = Object(target);
    for (var i = 1; i < arguments.length; i++) {
        var from = arguments[i];
        if (from === null || from === undefined) continue;
        for (var k in from) if (Object.prototype.hasOwnProperty.call(from, k)) to[k] = from[k];
    }
    return to;
});
add(Object, "values", function (o) { return Object.keys(o).map(function (k) { return o[k]; }); });
add(Object, "entries", function (o) { return Object.keys(o).map(function (k) { return [k, o[k]]; }); });

add(S, "startsWith", function (s, at) { at = start(this.length, at, 0); return String(this).substr(at, String(s).length) === String(s); });
add(S, "endsWith", function (s, end) {
    s = String(s); end = start(this.length, end, this.length);
    return end - s.length >= 0 && String(this).substring(end - s.length, end) === s;
});
add(S, "includes", function (s, at) { return String(this).indexOf(s, at) !== -1; });
// Kept local: the library must not depend on what a game may replace.
function repeat(s, n) {
    n = toInt(n);
    if (n < 0 || n === Infinity) throw new RangeError("Invalid count value");
    var out = "";
    for (var i = 0; i < n; i++) out += s;
    return out;
}
add(S, "repeat", function (n) { return repeat(String(this), n); });
function pad(s, len, fill, atStart) {
    s = String(s); len = toInt(len); fill = fill === undefined ? " " : String(fill);
    if (len <= s.length || fill === "") return s;
    var more = repeat(fill, Math.ceil((len - s.length) / fill.length)).substring(0, len - s.length);
    return atStart ? more + s : s + more;
}
add(S, "padStart", function (len, fill) { return pad(this, len, fill, true); });
add(S, "padEnd", function (len, fill) { return pad(this, len, fill, false); });
add(S, "trimStart", function () { return String(this).replace(/^\s+/, ""); });
add(S, "trimEnd", function () { return String(this).replace(/\s+$/, ""); });
add(S, "trimLeft", S.trimStart);
add(S, "trimRight", S.trimEnd);

add(Number, "isInteger", function (v) { return typeof v === "number" && isFinite(v) && Math.floor(v) === v; });
add(Number, "isFinite", function (v) { return typeof v === "number" && isFinite(v); });
add(Number, "isNaN", function (v) { return typeof v === "number" && v !== v; });
add(Number, "EPSILON", Math.pow(2, -52));

add(Math, "sign", function (v) { v = Number(v); return v > 0 ? 1 : v < 0 ? -1 : v; });
add(Math, "trunc", function (v) { v = Number(v); return v < 0 ? Math.ceil(v) : Math.floor(v); });
// Exact powers give exact answers, which plain division misses.
function logIn(base, ln, v) {
    var r = Math.log(v) / ln, n = Math.round(r);
    return Math.pow(base, n) === v ? n : r;
}
add(Math, "log10", function (v) { return logIn(10, Math.LN10, v); });
add(Math, "log2", function (v) { return logIn(2, Math.LN2, v); });
add(Math, "cbrt", function (v) { v = Number(v); var r = Math.pow(Math.abs(v), 1 / 3); return v < 0 ? -r : r; });
add(Math, "hypot", function () {
    var sum = 0;
    for (var i = 0; i < arguments.length; i++) { var v = Number(arguments[i]); sum += v * v; }
    return Math.sqrt(sum);
});
})();
)js";

QScriptValue writeToLog(QScriptContext* context, QScriptEngine*, void* sink)
{
    QStringList parts;
    for (int i = 0; i < context->argumentCount(); ++i)
        parts << context->argument(i).toString();
    (*static_cast<std::function<void(const QString&)>*>(sink))(parts.join(QLatin1Char(' ')));
    return QScriptValue();
}

} // namespace

void installScriptLibrary(QScriptEngine* engine, std::function<void(const QString&)> log)
{
    engine->evaluate(QString::fromUtf8(libraryText), QStringLiteral("<library>"), 1);
    QScriptValue global = engine->globalObject();
    if (global.property(QStringLiteral("console")).isValid())
        return;
    // The engine owns the sink through the console object's data.
    auto* sink = new std::function<void(const QString&)>(std::move(log));
    QScriptValue console = engine->newObject();
    for (const char* name : {"log", "info", "warn", "error"})
        console.setProperty(QLatin1String(name), engine->newFunction(writeToLog, sink),
                            QScriptValue::SkipInEnumeration);
    global.setProperty(QStringLiteral("console"), console, QScriptValue::SkipInEnumeration);
    QObject::connect(engine, &QObject::destroyed, [sink] { delete sink; });
}
