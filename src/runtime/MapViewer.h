#pragma once

#include "core/PlatformMap.h"

#include <QObject>
#include <QScriptValue>
#include <QString>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

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
    void drawTileAt(sf::Sprite& sprite, std::int32_t x, std::int32_t y);
    sf::Sprite& spriteFor(TilePiece piece);

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
    QScriptEngine* engine = nullptr;
};
