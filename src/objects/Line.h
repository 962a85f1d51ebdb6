#pragma once

#include <QObject>

class Game;

class Line : public QObject {
    Q_OBJECT
public:
    explicit Line(Game* game, QObject* parent = nullptr);

private:
    Game* game;
};
