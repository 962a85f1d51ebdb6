#include "runtime/MapViewer.h"

#include "objects/PcxTexture.h"
#include "runtime/SeededRandom.h"

#include <QRandomGenerator64>
#include <QScriptEngine>
#include <SFML/Graphics/RenderTarget.hpp>

MapViewer::MapViewer(sf::RenderTarget* target, QObject* parent) : QObject(parent), target(target)
{
    loadPcxTexture(midTexture, QStringLiteral("gnd_mid.pcx"), true);
    midSprite.setTexture(midTexture);
    loadPcxTexture(leftCapTexture, QStringLiteral("gnd_left.pcx"), true);
    leftCapSprite.setTexture(leftCapTexture);
    loadPcxTexture(rightCapTexture, QStringLiteral("gnd_rght.pcx"), true);
    rightCapSprite.setTexture(rightCapTexture);
    loadPcxTexture(caveStripTexture, QStringLiteral("caveback.pcx"), false);
    caveStripSprite.setTexture(caveStripTexture);
    loadPcxTexture(stoneTexture, QStringLiteral("gnd_ston.pcx"), true);
    stoneSprite.setTexture(stoneTexture);

    TileMeasures measures;
    measures.tileWidth = std::int32_t(midTexture.getSize().x);
    measures.rowPitch = std::int32_t(midTexture.getSize().y) - 5;
    measures.capWidth = std::int32_t(leftCapTexture.getSize().x);
    measures.caveStripHeight = std::int32_t(caveStripTexture.getSize().y);
    map.setMeasures(measures);
}

MapViewer::~MapViewer() = default;

void MapViewer::setEngine(QScriptEngine* engine)
{
    this->engine = engine;
}

sf::Sprite& MapViewer::spriteFor(TilePiece piece)
{
    switch (piece) {
    case TilePiece::LeftCap:
        return leftCapSprite;
    case TilePiece::RightCap:
        return rightCapSprite;
    case TilePiece::CaveStrip:
        return caveStripSprite;
    case TilePiece::Stone:
        return stoneSprite;
    case TilePiece::Middle:
        break;
    }
    return midSprite;
}

void MapViewer::drawTileAt(sf::Sprite& sprite, std::int32_t x, std::int32_t y)
{
    sprite.setPosition(float(x), float(y));
    target->draw(sprite);
}

void MapViewer::render()
{
    if (!target)
        return;
    map.forEachPiece([this](TilePiece piece, std::int32_t x, std::int32_t y) {
        drawTileAt(spriteFor(piece), x, y);
    });
}

void MapViewer::loadMapFromFile(QString mapfile)
{
    map.loadFile(mapfile);
}

int MapViewer::getPlateCount()
{
    return map.plateCount();
}

int MapViewer::getPlateY(int i)
{
    return map.plateY(i);
}

bool MapViewer::isNeedStop(double x1, double x2, int platei, double w2, bool isfly)
{
    return map.isNeedStop(x1, x2, platei, w2, isfly);
}

bool MapViewer::canJumpTo(double x, int targetplatei)
{
    return map.canJumpTo(x, targetplatei);
}

QScriptValue MapViewer::genSpawnPoint(double playerx, int playerplatei)
{
    if (!engine)
        return QScriptValue();
    QScriptValue point = engine->newObject();
    // QRandomGenerator's own generate() gives the 32-bit draw.
    const quint32 draw = seeded ? seeded->next32() : QRandomGenerator64::system()->generate();
    if (const JumpPoint* picked = map.pickSpawnPoint(playerx, playerplatei, draw)) {
        point.setProperty(QStringLiteral("x"), picked->x);
        point.setProperty(QStringLiteral("y"), picked->plate);
    }
    return point;
}
