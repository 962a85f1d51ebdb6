#include "core/Prelude.h"

namespace {

struct KeyConstant {
    const char* name;
    int code;
};

QString buildPrelude()
{
    // Values are sf::Keyboard key codes, the numbers isKeyDown compares.
    static const KeyConstant named[] = {
        {"KEY_ESCAPE", 36},  {"KEY_TAB", 60},   {"KEY_ENTER", 58}, {"KEY_LEFT", 71},
        {"KEY_UP", 73},      {"KEY_RIGHT", 72}, {"KEY_DOWN", 74},  {"KEY_SHIFT", 38},
        {"KEY_CONTROL", 37}, {"KEY_ALT", 39},
    };
    QString text;
    auto declare = [&text](const QString& name, int code) {
        text += QStringLiteral("const ") + name.leftJustified(14, QLatin1Char(' ')) +
                QStringLiteral("= ") + QString::number(code) + QLatin1Char(';');
    };
    for (const auto& k : named)
        declare(QLatin1String(k.name), k.code);
    for (int i = 1; i <= 12; ++i)
        declare(QStringLiteral("KEY_F%1").arg(i), 84 + i);
    declare(QStringLiteral("KEY_SPACE"), 57);
    declare(QStringLiteral("KEY_PLUS"), 67);
    declare(QStringLiteral("KEY_MINUS"), 68);
    for (int d = 0; d <= 9; ++d)
        declare(QStringLiteral("KEY_%1").arg(d), 26 + d);
    for (int c = 0; c < 26; ++c)
        declare(QStringLiteral("KEY_") + QChar('A' + c), c);
    return text;
}

} // namespace

QString prelude()
{
    static const QString text = buildPrelude();
    return text;
}
