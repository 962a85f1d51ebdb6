#pragma once

#include "core/PlatformMap.h"

#include <QObject>
#include <QPointer>
#include <QScriptValue>
#include <QString>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <vector>

class Game;
class QScriptEngine;
class SeededRandom;
namespace sf {
class RenderTarget;
}

// The script global `mapviewer`: one per run, handed to every Game in turn,
// so a loaded map outlives a script switch.
class MapViewer : public QObject {
    Q_OBJECT
public:
    explicit MapViewer(sf::RenderTarget* target, QObject* parent = nullptr);
    ~MapViewer() override;

    // Binds the map to the engine of the script that runs now.
    void setEngine(QScriptEngine* engine);
    // Draws in turn with that game's sprites, batched when its sprites are.
    void drawWith(Game* game);

public slots:
    void render();
    void loadMapFromFile(QString mapfile);
    int getPlateCount();
    int getPlateY(int i);
    bool isNeedStop(double x1, double x2, int platei, double w2, bool isfly);
    bool canJumpTo(double x, int targetplatei);
    QScriptValue genSpawnPoint(double playerx, int playerplatei);

public:
    // Spawn points drawn from this generator instead of the system's, so
    // runs repeat; it must outlive the map's use.
    void drawSpawnPointsFrom(SeededRandom* random) { seeded = random; }

private:
    // Where a piece's image lies: in the sheet of all five, or in its own
    // texture when the sheet would be too large.
    struct TileImage {
        const sf::Texture* texture = nullptr;
        sf::IntRect rect;
    };
    // A stretch of pieces drawn with one texture.
    struct Run {
        const sf::Texture* texture;
        std::size_t first;
        std::size_t count;
    };

    void drawTileAt(sf::Sprite& sprite, std::int32_t x, std::int32_t y);
    sf::Sprite& spriteFor(TilePiece piece);
    void makeSheet();
    void buildPieces();

    sf::RenderTarget* target;
    SeededRandom* seeded = nullptr;
    PlatformMap map;
    // Textures before sprites: a sprite only points at its texture.
    sf::Texture midTexture;
    sf::Texture leftCapTexture;
    sf::Texture rightCapTexture;
    sf::Texture caveStripTexture;
    sf::Texture stoneTexture;
    sf::Sprite midSprite;
    sf::Sprite rightCapSprite;
    sf::Sprite leftCapSprite;
    sf::Sprite caveStripSprite;
    sf::Sprite stoneSprite;
    sf::Texture sheet;
    // Indexed by TilePiece.
    TileImage tiles[5];
    // Every piece as two triangles, in drawing order; made again only when
    // the map changes.
    std::vector<sf::Vertex> vertices;
    std::vector<Run> runs;
    bool piecesStale = true;
    QScriptEngine* engine = nullptr;
    QPointer<Game> game;
};
