#include "core/Prelude.h"

namespace {

QString buildPrelude()
{
    QString text;
    for (const KeyName& k : keyNames())
        text += QStringLiteral("const KEY_") + k.name.leftJustified(10, QLatin1Char(' ')) +
                QStringLiteral("= ") + QString::number(k.code) + QLatin1Char(';');
    return text;
}

} // namespace

const std::vector<KeyName>& keyNames()
{
    static const std::vector<KeyName> names = [] {
        // Values are sf::Keyboard key codes, the numbers isKeyDown compares.
        static const struct {
            const char* name;
            int code;
        } named[] = {
            {"ESCAPE", 36}, {"TAB", 60},  {"ENTER", 58}, {"LEFT", 71},    {"UP", 73},
            {"RIGHT", 72},  {"DOWN", 74}, {"SHIFT", 38}, {"CONTROL", 37}, {"ALT", 39},
        };
        std::vector<KeyName> all;
        for (const auto& k : named)
            all.push_back({QLatin1String(k.name), k.code});
        for (int i = 1; i <= 12; ++i)
            all.push_back({QStringLiteral("F%1").arg(i), 84 + i});
        all.push_back({QStringLiteral("SPACE"), 57});
        all.push_back({QStringLiteral("PLUS"), 67});
        all.push_back({QStringLiteral("MINUS"), 68});
        for (int d = 0; d <= 9; ++d)
            all.push_back({QString::number(d), 26 + d});
        for (int c = 0; c < 26; ++c)
            all.push_back({QString(QChar('A' + c)), c});
        return all;
    }();
    return names;
}

QString prelude()
{
    static const QString text = buildPrelude();
    return text;
}
