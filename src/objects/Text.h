#pragma once

#include <QObject>

class Game;

class Text : public QObject {
    Q_OBJECT
public:
    explicit Text(Game* game, QObject* parent = nullptr);

private:
    Game* game;
};
