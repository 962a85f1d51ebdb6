#include "core/Prelude.h"

#include <gtest/gtest.h>

TEST(Prelude, IsOneLineOf61DeclarationsWithTheKeyCodes)
{
    const QString text = prelude();
    EXPECT_EQ(text.size(), 1515);
    EXPECT_EQ(text.count(QStringLiteral("const ")), 61);
    EXPECT_FALSE(text.contains(QLatin1Char('\n')));
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("const KEY_ESCAPE    = 36;const KEY_TAB       = 60;")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("const KEY_Z         = 25;")));
    for (const char* decl :
         {"const KEY_F1        = 85;", "const KEY_F12       = 96;", "const KEY_SPACE     = 57;",
          "const KEY_MINUS     = 68;const KEY_0         = 26;", "const KEY_9         = 35;",
          "const KEY_A         = 0;", "const KEY_RIGHT     = 72;"})
        EXPECT_TRUE(text.contains(QLatin1String(decl))) << decl;
}
