#include "core/JsonText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(JsonText, NumbersKeepSixDigitsAndNamesForTheNonFinite)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {3.14159265, "3.14159"},
        {1000000, "1e+06"},
        {0.00001, "1e-05"},
        {-0.5, "-0.5"},
        {std::nan(""), "NaN"},
        {-std::numeric_limits<double>::infinity(), "-Infinity"},
        {std::numeric_limits<double>::infinity(), "Infinity"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.value), QLatin1String(c.text)) << c.text;
}

TEST(JsonText, StringsEscapeWhatWouldEndOrBreakALiteral)
{
    const struct {
        QString text;
        QString quoted;
    } cases[] = {
        {QStringLiteral("say \"hi\" \\"), QStringLiteral("\"say \\\"hi\\\" \\\\\"")},
        {QStringLiteral("\n\r\t\b\f"), QStringLiteral("\"\\n\\r\\t\\b\\f\"")},
        {QString::fromUtf16(u"\u0001\u001f\u2028\u2029"),
         QStringLiteral("\"\\u0001\\u001f\\u2028\\u2029\"")},
        {QString::fromUtf16(u"\u00e9t\u00e9 \u0436 \u007f"),
         QString::fromUtf16(u"\"\u00e9t\u00e9 \u0436 \u007f\"")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(quoteString(c.text), c.quoted);
}
