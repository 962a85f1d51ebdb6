#include "core/JsonText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(JsonText, NumbersKeepSixDigitsAndNamesForTheNonFinite)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& [value, text] : {std::pair{3.14159265, "3.14159"},
                                      {1000000.0, "1e+06"},
                                      {0.00001, "1e-05"},
                                      {-0.5, "-0.5"},
                                      {std::nan(""), "NaN"},
                                      {-inf, "-Infinity"},
                                      {inf, "Infinity"}})
        EXPECT_EQ(formatNumber(value), QLatin1String(text)) << text;
}

TEST(JsonText, StringsEscapeWhatWouldEndOrBreakALiteral)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("say \"hi\" \\"), QStringLiteral("\"say \\\"hi\\\" \\\\\"")},
        {QStringLiteral("\n\r\t\b\f"), QStringLiteral("\"\\n\\r\\t\\b\\f\"")},
        {QString::fromUtf16(u"\u0001\u001f\u2028\u2029"),
         QStringLiteral("\"\\u0001\\u001f\\u2028\\u2029\"")},
        {QString::fromUtf16(u"\u00e9t\u00e9 \u0436 \u007f"),
         QString::fromUtf16(u"\"\u00e9t\u00e9 \u0436 \u007f\"")},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(quoteString(text), quoted);
}
