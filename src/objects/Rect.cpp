#include "Rect.h"

Rect::Rect(Game* game, QObject* parent) : QObject(parent), game(game) {}
