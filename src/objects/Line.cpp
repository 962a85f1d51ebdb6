#include "Line.h"

Line::Line(Game* game, QObject* parent) : QObject(parent), game(game) {}
