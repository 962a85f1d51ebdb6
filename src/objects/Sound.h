#pragma once

#include <QObject>
#include <QString>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <memory>

// A sound decoded whole into memory at load and played from there.
class Sound : public QObject {
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

private:
    // An sf::Sound that can give up its source name.
    class Voice : public sf::Sound {
    public:
        void forgetSource() { m_source = 0; }
    };

    sf::SoundBuffer buffer;
    // Destroyed (and stopped) before the buffer.
    std::unique_ptr<Voice> player;
    bool voiced = false;
};
