#include "objects/Text.h"

#include "core/RegularFile.h"
#include "objects/DrawContext.h"
#include "objects/OpaqueColor.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <algorithm>

Text::Text(const QString& fontname, DrawContext* context, QObject* parent)
    : QObject(parent), context(context)
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
    sf::RenderTarget* target = context->renderTarget();
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
    label.setFillColor(opaqueColor(r, g, b));
}
