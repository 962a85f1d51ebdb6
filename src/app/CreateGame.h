#pragma once

#include "runtime/Game.h"

#include <QString>

class ExtProc;
class MapViewer;

// Builds the Game for scripts/<name>.js, binds the map to its engine and
// wires its signals to the message sink.
GameOwner createGame(const QString& name, MapViewer* map, ExtProc* sink);
