#include "Text.h"

Text::Text(Game* game, QObject* parent) : QObject(parent), game(game) {}
