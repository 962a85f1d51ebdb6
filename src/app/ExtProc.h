#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace sf {
class Window;
}

// Host-side receiver of the scripts' log, title and cursor signals.
class ExtProc : public QObject {
    Q_OBJECT
public:
    explicit ExtProc(sf::Window* window, QObject* parent = nullptr);

public slots:
    void getMessage(QString msg);
    void getPair(QString name, QVariant value);
    void setTitle(QString caption);
    void switchCursor(bool visible);

private:
    sf::Window* window;
};
