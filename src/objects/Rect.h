#pragma once

#include <QObject>

class Game;

class Rect : public QObject {
    Q_OBJECT
public:
    explicit Rect(Game* game, QObject* parent = nullptr);

private:
    Game* game;
};
