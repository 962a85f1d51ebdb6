#include "Text.h"

#include "Game.h"
#include "RegularFile.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <algorithm>

Text::Text(const QString& fontname, Game* game, QObject* parent) : QObject(parent), game(game)
{
    const QString path = QStringLiteral("fonts/") + fontname;
    hasFont = loaderMayOpen(path, fileLimits::assetBytes) &&
              font.loadFromFile(path.toUtf8().toStdString());
    label.setFillColor(sf::Color::White);
    label.setFont(font);
    label.setCharacterSize(14);
    setText(QString());
}

void Text::printTo(int x, int y)
{
    sf::RenderTarget* target = game->renderTarget();
    if (!target || !hasFont || label.getCharacterSize() == 0)
        return;
    float left = float(x);
    if (alignCenter)
        left -= 0.5f * label.getLocalBounds().width;
    label.setPosition(left, float(y));
    target->draw(label, sf::RenderStates::Default);
}

void Text::setAlignCenter()
{
    alignCenter = true;
}

void Text::setText(QString str)
{
    // The carriage return after the line feed is what scripts have always
    // been given; the drawing library skips it.
    str.replace(QLatin1String("\\n"), QLatin1String("\n\r"));
    const QByteArray utf8 = str.toUtf8();
    label.setString(sf::String::fromUtf8(utf8.constBegin(), utf8.constEnd()));
}

void Text::setSize(int size)
{
    label.setCharacterSize(unsigned(std::clamp(size, 0, maxSize)));
}

void Text::setColor(int r, int g, int b)
{
    label.setFillColor(
        sf::Color(sf::Uint8(r & 0xFF), sf::Uint8(g & 0xFF), sf::Uint8(b & 0xFF), 255));
}
