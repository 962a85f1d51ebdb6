#pragma once

#include "objects/Releasable.h"

#include <QObject>
#include <QString>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <memory>

// A sound decoded whole into memory at load and played from there.
class Sound : public Releasable {
    Q_OBJECT
public:
    // Loads sounds/<filename>; a file that fails to load leaves a silent Sound.
    explicit Sound(const QString& filename, QObject* parent = nullptr);
    ~Sound() override;

    // False when the audio device had no voice left for it (commonly 256
    // sounds at a time): such a Sound stays silent and never plays.
    bool hasVoice() const { return voiced; }

public slots:
    // Always from the beginning, also when already playing.
    void play();
    void stop();
    void setLoop(bool isloop);
    bool isPlayed();
    // 0 (silent) to 100 (as recorded, the default); values outside are
    // taken as the nearer end.
    void setVolume(double volume);
    // Speed and pitch together: 1 as recorded, 2 an octave higher and twice
    // as fast; 0, negative or not a number leave it as it is.
    void setPitch(double pitch);

private:
    void freeResources() override;

    // An sf::Sound that can give up its source name.
    class Voice : public sf::Sound {
    public:
        void forgetSource() { m_source = 0; }
    };

    sf::SoundBuffer buffer;
    // Destroyed (and stopped) before the buffer; gone once released, which
    // gives its audio voice back.
    std::unique_ptr<Voice> player;
    bool voiced = false;
};
