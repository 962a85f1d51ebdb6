#pragma once

#include <QObject>

class QScriptEngine;
namespace sf {
class RenderTarget;
}

// The script global `mapviewer`: one per run, handed to every Game in turn.
class MapViewer : public QObject {
    Q_OBJECT
public:
    explicit MapViewer(sf::RenderTarget* target, QObject* parent = nullptr);

    // Binds the map to the engine of the script that runs now.
    void setEngine(QScriptEngine* engine);

private:
    sf::RenderTarget* target;
    QScriptEngine* engine = nullptr;
};
