#pragma once

#include <QObject>

class Game;

// Script-visible image; base of Animation.
class Sprite : public QObject {
    Q_OBJECT
public:
    explicit Sprite(Game* game, QObject* parent = nullptr);

    // Per-frame step, called by the Game before every Frame().
    virtual void update(double dt);

protected:
    Game* game;
};
