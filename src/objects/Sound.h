#pragma once

#include <QObject>

class Game;

class Sound : public QObject {
    Q_OBJECT
public:
    explicit Sound(Game* game, QObject* parent = nullptr);

private:
    Game* game;
};
