#include "runtime/ScriptJson.h"
#include "TestGame.h"

#include <QScriptEngine>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QString jsonOf(const char* source)
{
    ensureTestApp();
    QScriptEngine engine;
    return scriptValueToJson(engine.evaluate(QString::fromUtf8(source)));
}

} // namespace

TEST(ScriptJson, ScalarsAtTopLevel)
{
    EXPECT_EQ(jsonOf("3.14159265"), QStringLiteral("3.14159"));
    EXPECT_EQ(jsonOf("1000000"), QStringLiteral("1e+06"));
    EXPECT_EQ(jsonOf("0.0000100"), QStringLiteral("1e-05"));
    EXPECT_EQ(jsonOf("-2.5"), QStringLiteral("-2.5"));
    EXPECT_EQ(jsonOf("true"), QStringLiteral("true"));
    EXPECT_EQ(jsonOf("false"), QStringLiteral("false"));
    EXPECT_EQ(jsonOf("null"), QStringLiteral("null"));
    EXPECT_EQ(jsonOf("undefined"), QString());
    EXPECT_EQ(jsonOf("'plain text'"), QStringLiteral("\"plain text\""));
}

TEST(ScriptJson, ObjectsAreIndentedWithSortedKeys)
{
    EXPECT_EQ(jsonOf("({b: 1, a: 'x'})"),
              QStringLiteral("{\n    \"a\": \"x\",\n    \"b\": 1\n}\n"));
    EXPECT_EQ(jsonOf("[1, 2, 3]"), QStringLiteral("[\n    1,\n    2,\n    3\n]\n"));
    EXPECT_EQ(jsonOf("({s: 'v', arr: [1, 2]})"),
              QStringLiteral("{\n    \"arr\": [\n        1,\n        2\n    ],\n"
                             "    \"s\": \"v\"\n}\n"));
    EXPECT_EQ(jsonOf("({n: null, u: undefined, t: true})"),
              QStringLiteral("{\n    \"n\": null,\n    \"t\": true,\n    \"u\": null\n}\n"));
    EXPECT_EQ(jsonOf("({})"), QStringLiteral("{\n}\n"));
    EXPECT_EQ(jsonOf("({q: 'a\"b'})"), QStringLiteral("{\n    \"q\": \"a\\\"b\"\n}\n"));
}

TEST(ScriptJson, ArraysWalkIndicesBelowLengthOnly)
{
    // A sparse array gives null for holes; extra named properties are left out.
    EXPECT_EQ(jsonOf("var a = [1]; a[2] = 3; a.name = 'x'; a"),
              QStringLiteral("[\n    1,\n    null,\n    3\n]\n"));
}

TEST(ScriptJson, TopLevelStringsAndNumbersReadBack)
{
    // Every text written for a top-level value must evaluate back to it.
    ensureTestApp();
    QScriptEngine engine;
    const char* values[] = {"'a\"b'",    "'back\\\\slash'",    "'line\\nbreak'",
                            "'\\u2028'", "'tab\\tand\\u0001'", "'\\u043f\\u0440\\u0438'",
                            "NaN",       "Infinity",           "-Infinity"};
    for (const char* source : values) {
        const QScriptValue original = engine.evaluate(QString::fromUtf8(source));
        const QString text = scriptValueToJson(original);
        const QScriptValue back = engine.evaluate(QStringLiteral("(") + text + QLatin1Char(')'));
        ASSERT_FALSE(back.isError()) << source << " -> " << text.toStdString();
        if (original.isNumber() && std::isnan(original.toNumber()))
            EXPECT_TRUE(std::isnan(back.toNumber()));
        else
            EXPECT_TRUE(back.strictlyEquals(original)) << source << " -> " << text.toStdString();
    }
    EXPECT_EQ(quoteString(QStringLiteral("plain")), QStringLiteral("\"plain\""));

    // Line separators nested in an object must read back too.
    const QString nested = scriptValueToJson(engine.evaluate(QStringLiteral("({s: 'a\\u2028b'})")));
    const QScriptValue back = engine.evaluate(QStringLiteral("(") + nested + QLatin1Char(')'));
    ASSERT_FALSE(back.isError()) << nested.toStdString();
    EXPECT_EQ(back.property(QStringLiteral("s")).toString(), QStringLiteral("a\u2028b"));
}
