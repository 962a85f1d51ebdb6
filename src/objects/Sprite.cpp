#include "objects/Sprite.h"

#include "core/AssetPaths.h"
#include "objects/Animation.h"
#include "objects/AssetLoad.h"
#include "objects/DrawContext.h"
#include "objects/PixelConversion.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <iterator>

Sprite::Sprite(DrawContext* context, QObject* parent)
    : Releasable(parent), context(context), border(sf::LineStrip, 5)
{
    for (std::size_t i = 0; i < border.getVertexCount(); ++i)
        border[i].color = sf::Color::White;
}

void Sprite::update(double) {}

void Sprite::loadImageFile(const QString& filename)
{
    sf::Texture loaded;
    asset::loadTexture(loaded, spritePath(filename));
    assignTexture(loaded);
}

void Sprite::assignTexture(const sf::Texture& source)
{
    texture = source;
    texture.setSmooth(true);
    picture.setTexture(texture);
    width = static_cast<int>(texture.getSize().x);
    height = static_cast<int>(texture.getSize().y);
    picture.setOrigin(static_cast<float>(width / 2), static_cast<float>(height / 2));
}

void Sprite::convertTexture(sf::Texture& tex, const QScriptValue& convertFunc)
{
    convertTextureWith(*context, tex, convertFunc);
}

contact::Corners Sprite::corners() const
{
    const sf::Transform& t = picture.getTransform();
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const sf::Vector2f image[4] = {{0, 0}, {0, h}, {w, h}, {w, 0}};
    contact::Corners out;
    for (int i = 0; i < 4; ++i) {
        const sf::Vector2f p = t.transformPoint(image[i]);
        out[i] = {p.x, p.y};
    }
    return out;
}

template <typename C> direct::Slots Sprite::directCallsOf()
{
    static const direct::Slot list[] = {
        LEDGE_DIRECT(C, Sprite, renderTo),   LEDGE_DIRECT(C, Sprite, render),
        LEDGE_DIRECT(C, Sprite, setXY),      LEDGE_DIRECT(C, Sprite, mirrorHorz),
        LEDGE_DIRECT(C, Sprite, mirrorVert), LEDGE_DIRECT(C, Sprite, setScale),
        LEDGE_DIRECT(C, Sprite, setScaleX),  LEDGE_DIRECT(C, Sprite, setScaleY),
        LEDGE_DIRECT(C, Sprite, setAngle),   LEDGE_DIRECT(C, Sprite, setAlpha),
        LEDGE_DIRECT(C, Sprite, setHotSpot), LEDGE_DIRECT(C, Sprite, isContactWith),
        LEDGE_DIRECT(C, Sprite, isPointIn),  LEDGE_DIRECT(C, Sprite, getWidth),
        LEDGE_DIRECT(C, Sprite, getHeight),
    };
    return {list, int(std::size(list))};
}
template direct::Slots Sprite::directCallsOf<Animation>();

direct::Slots Sprite::directCalls() const
{
    return directCallsOf<Sprite>();
}

void Sprite::renderTo(int x, int y)
{
    picture.setPosition(static_cast<float>(x), static_cast<float>(y));
    picture.setScale(mirrorH ? -scaleX : scaleX, mirrorV ? -scaleY : scaleY);
    // An empty frame has no pixels; drawn through a non-empty rectangle it
    // would show as a plain white box.
    const sf::Texture* shown = picture.getTexture();
    if (shown && shown->getSize().x > 0 && shown->getSize().y > 0)
        context->drawSprite(picture);
    if (!bordered)
        return;
    if (sf::RenderTarget* target = context->renderTarget()) {
        const contact::Corners c = corners();
        for (int i = 0; i < 5; ++i)
            border[i].position = {c[i % 4].x, c[i % 4].y};
        target->draw(border);
    }
}

void Sprite::render()
{
    renderTo(posX, posY);
}

void Sprite::setXY(int x, int y)
{
    posX = x;
    posY = y;
}

void Sprite::mirrorHorz(bool mirror)
{
    mirrorH = mirror;
}

void Sprite::mirrorVert(bool mirror)
{
    mirrorV = mirror;
}

void Sprite::setBordered(bool on)
{
    bordered = on;
}

void Sprite::setScale(int perc)
{
    scaleX = scaleY = static_cast<float>(perc / 100.0);
}

void Sprite::setScaleX(int perc)
{
    scaleX = static_cast<float>(perc / 100.0);
}

void Sprite::setScaleY(int perc)
{
    scaleY = static_cast<float>(perc / 100.0);
}

void Sprite::setAngle(int a)
{
    picture.setRotation(static_cast<float>(a));
}

void Sprite::setAlpha(int alpha)
{
    picture.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(alpha & 0xFF)));
}

void Sprite::setHotSpot(int x, int y)
{
    picture.setOrigin(static_cast<float>(x), static_cast<float>(y));
}

void Sprite::setSmooth(bool smooth)
{
    context->flushSprites();
    texture.setSmooth(smooth);
}

void Sprite::setContactModelBox()
{
    contactModel = Box;
}

void Sprite::setContactModelCircle()
{
    contactModel = Circle;
}

void Sprite::setTag(QString tagname, QScriptValue tagvalue)
{
    tags.insert(tagname, tagvalue);
}

void Sprite::convertPixels(QScriptValue convertFunc)
{
    const Hold hold(*this);
    convertTexture(texture, convertFunc);
}

bool Sprite::isContactWith(QScriptValue obj2)
{
    // A wrapper whose object is gone yields null here.
    auto* other = qobject_cast<Sprite*>(obj2.toQObject());
    if (!other)
        return false;
    const contact::Corners mine = corners();
    const contact::Corners theirs = other->corners();
    if (contactModel == Circle)
        return contact::circleContact(mine, width, height, theirs, other->width, other->height);
    return contact::boxContact(mine, theirs);
}

bool Sprite::isPointIn(int x, int y)
{
    return contact::inQuad(corners(), {static_cast<float>(x), static_cast<float>(y)});
}

QScriptValue Sprite::getTag(QString tagname)
{
    return tags.value(tagname);
}

int Sprite::getWidth()
{
    return width;
}

int Sprite::getHeight()
{
    return height;
}

void Sprite::freeResources()
{
    context->flushSprites();
    picture = sf::Sprite();
    texture = sf::Texture();
    tags.clear();
    width = height = 0;
}
