#pragma once

// Which frame an animation shows, apart from its textures. Time is kept as
// a 32-bit float; a loop takes one whole cycle off when it wraps and shows
// frame 0 for that step, a one-time play stops on the last frame.
class AnimationClock {
public:
    AnimationClock(int numFrames, float frameRate);

    // Loops from where it stopped.
    void play();
    // Restarts from 0 and plays once; the caller then steps by 0 to show frame 0.
    void startOneTime();
    void stop() { playing = false; }
    bool isPlaying() const { return playing; }
    float elapsedTime() const { return elapsed; }

    // Advances by dt while playing and returns the frame to show (always
    // within 0..numFrames - 1), or -1 when stopped. A frame rate of 0 or
    // below keeps frame 0.
    int step(double dt);

private:
    int numFrames;
    float frameRate;
    float elapsed = 0.0f;
    bool playing = false;
    bool oneTime = false;
};
