#include "objects/Text.h"

#include "core/AssetFile.h"
#include "objects/AssetLoad.h"
#include "objects/DrawContext.h"
#include "objects/OpaqueColor.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <algorithm>

Text::Text(const QString& fontname, DrawContext* context, QObject* parent)
    : QObject(parent), fontPath(QStringLiteral("fonts/") + fontname), context(context)
{
    hasFont = loadFont();
    label.setFillColor(sf::Color::White);
    label.setFont(font);
    label.setCharacterSize(14);
    setText(QString());
}

bool Text::loadFont()
{
    QByteArray bytes;
    if (!asset::readOrReport(fontPath, bytes))
        return false;
    asset::QuietLibrary quiet;
    if (!guard.open(bytes) ||
        !font.loadFromMemory(guard.bytes().constData(), std::size_t(guard.bytes().size()))) {
        asset::reportFailure(fontPath, asset::damaged());
        return false;
    }
    return true;
}

bool Text::glyphsSafe()
{
    if (!glyphsChecked) {
        const sf::String& text = label.getString();
        glyphsChecked = guard.canDraw(text.getData(), text.getSize(), label.getCharacterSize());
        if (!glyphsChecked) {
            hasFont = false;
            asset::reportFailure(fontPath, QStringLiteral("a glyph cannot be drawn safely"));
        }
    }
    return glyphsChecked;
}

void Text::printTo(int x, int y)
{
    sf::RenderTarget* target = context->renderTarget();
    if (!target || !hasFont || label.getCharacterSize() == 0 || !glyphsSafe())
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
    glyphsChecked = false;
}

void Text::setSize(int size)
{
    label.setCharacterSize(unsigned(std::clamp(size, 0, maxSize)));
    glyphsChecked = false;
}

void Text::setColor(int r, int g, int b)
{
    label.setFillColor(opaqueColor(r, g, b));
}
