#include "MapViewer.h"

MapViewer::MapViewer(sf::RenderTarget* target, QObject* parent) : QObject(parent), target(target) {}

void MapViewer::setEngine(QScriptEngine* engine)
{
    this->engine = engine;
}
