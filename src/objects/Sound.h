#pragma once

#include <QObject>
#include <QString>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

// A sound decoded whole into memory at load and played from there.
class Sound : public QObject {
    Q_OBJECT
public:
    // Loads sounds/<filename>; a file that fails to load leaves a silent Sound.
    explicit Sound(const QString& filename, QObject* parent = nullptr);

public slots:
    // Always from the beginning, also when already playing.
    void play();
    void stop();
    void setLoop(bool isloop);
    bool isPlayed();

private:
    sf::SoundBuffer buffer;
    // Declared after the buffer so it is destroyed (and stopped) first.
    sf::Sound player;
};
