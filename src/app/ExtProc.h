#pragma once

#include "runtime/WindowRequests.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <SFML/System/String.hpp>

namespace sf {
class RenderWindow;
}

// Host-side receiver of the scripts' log, title and cursor signals, and of
// their window requests.
class ExtProc : public QObject, public WindowRequests {
    Q_OBJECT
public:
    explicit ExtProc(sf::RenderWindow* window, QObject* parent = nullptr);

    sf::Vector2u windowSize() const override;
    // Makes the window anew, full screen on the desktop's mode or back at
    // 800 x 600, keeping its title, cursor and pacing.
    void setFullscreen(bool on) override;

public slots:
    void getMessage(QString msg);
    void getPair(QString name, QVariant value);
    void setTitle(QString caption);
    void switchCursor(bool visible);

private:
    sf::RenderWindow* window;
    sf::String title = "MainWindow";
    bool cursorVisible = true;
    bool fullscreen = false;
};
