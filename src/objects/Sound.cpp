#include "Sound.h"

Sound::Sound(Game* game, QObject* parent) : QObject(parent), game(game) {}
