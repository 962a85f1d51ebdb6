#pragma once

#include "objects/Releasable.h"

#include <QObject>
#include <QString>
#include <memory>

// A long sound read from its file a little at a time while it plays, so
// only a few seconds of it are in memory at once.
class Music : public Releasable {
    Q_OBJECT
public:
    // Opens sounds/<filename>; a file that cannot be read (one debug line),
    // or no audio voice left, leaves a silent Music.
    explicit Music(const QString& filename, QObject* parent = nullptr);
    ~Music() override;

    // False when the file could be read but the audio device had no voice
    // left for it.
    bool hasVoice() const { return !voiceless; }

public slots:
    // Always from the beginning, also when already playing.
    void play();
    void stop();
    void setLoop(bool isloop);
    bool isPlayed();
    // 0 (silent) to 100 (as recorded); values outside are taken as the nearer end.
    void setVolume(double volume);

private:
    void freeResources() override;

    class Stream;
    // Null while silent; gone once released, which gives its audio voice back.
    std::unique_ptr<Stream> stream;
    bool voiceless = false;
};
