#include "Sprite.h"

Sprite::Sprite(Game* game, QObject* parent) : QObject(parent), game(game) {}

void Sprite::update(double) {}
