#include "runtime/MapViewer.h"

#include "core/AssetFile.h"
#include "objects/PcxTexture.h"
#include "objects/SpriteBatch.h"
#include "runtime/Game.h"
#include "runtime/SeededRandom.h"

#include <QRandomGenerator64>
#include <QScriptEngine>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <algorithm>

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
    makeSheet();
}

void MapViewer::makeSheet()
{
    const sf::Texture* own[5] = {&midTexture, &leftCapTexture, &rightCapTexture, &caveStripTexture,
                                 &stoneTexture};
    unsigned width = 0, height = 0;
    for (int i = 0; i < 5; ++i) {
        const sf::Vector2u size = own[i]->getSize();
        tiles[i] = {own[i], sf::IntRect(0, 0, int(size.x), int(size.y))};
        width = std::max(width, size.x);
        height += size.y;
    }
    // One above the other, so a whole map is one draw. The pieces are drawn
    // unscaled at whole pixels and unsmoothed, so each pixel still reads
    // exactly its own texel. Odd sizes that would make a huge sheet keep
    // their own textures.
    const unsigned limit = sf::Texture::getMaximumSize();
    if (width == 0 || width > limit || height > limit ||
        quint64(width) * height > asset::maxImagePixels)
        return;
    sf::Image image;
    image.create(width, height, sf::Color::Transparent);
    unsigned top = 0;
    for (const sf::Texture* texture : own) {
        if (texture->getSize().y > 0)
            image.copy(texture->copyToImage(), 0, top);
        top += texture->getSize().y;
    }
    if (!sheet.loadFromImage(image))
        return;
    top = 0;
    for (TileImage& tile : tiles) {
        tile.texture = &sheet;
        tile.rect.top = int(top);
        top += unsigned(tile.rect.height);
    }
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

void MapViewer::drawWith(Game* drawingGame)
{
    game = drawingGame;
}

void MapViewer::buildPieces()
{
    vertices.clear();
    runs.clear();
    map.forEachPiece([this](TilePiece piece, std::int32_t x, std::int32_t y) {
        const TileImage& tile = tiles[int(piece)];
        if (tile.rect.width == 0 || tile.rect.height == 0)
            return;
        if (runs.empty() || runs.back().texture != tile.texture)
            runs.push_back({tile.texture, vertices.size(), 0});
        // The corners a sprite placed at (x, y) has: its transform only adds
        // the position.
        const float left = float(x), top = float(y);
        const float w = float(tile.rect.width), h = float(tile.rect.height);
        const float u = float(tile.rect.left), v = float(tile.rect.top);
        const sf::Vertex quad[4] = {{{left, top}, {u, v}},
                                    {{left, top + h}, {u, v + h}},
                                    {{left + w, top}, {u + w, v}},
                                    {{left + w, top + h}, {u + w, v + h}}};
        appendQuad(vertices, quad);
        runs.back().count += 6;
    });
    piecesStale = false;
}

void MapViewer::render()
{
    if (!target)
        return;
    if (game) {
        game->flushSprites();
        if (!game->batching()) {
            map.forEachPiece([this](TilePiece piece, std::int32_t x, std::int32_t y) {
                drawTileAt(spriteFor(piece), x, y);
            });
            return;
        }
    }
    if (piecesStale)
        buildPieces();
    for (const Run& run : runs)
        target->draw(vertices.data() + run.first, run.count, sf::Triangles,
                     sf::RenderStates(run.texture));
}

void MapViewer::loadMapFromFile(QString mapfile)
{
    map.loadFile(mapfile);
    piecesStale = true;
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
