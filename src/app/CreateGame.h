#pragma once

#include <QString>

class ExtProc;
class Game;
class MapViewer;

// Builds the Game for scripts/<name>.js, binds the map to its engine and
// wires its signals to the message sink. The caller owns the result.
Game* createGame(const QString& name, MapViewer* map, ExtProc* sink);
