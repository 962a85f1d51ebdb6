#pragma once

// Game time and frame-rate counters, advanced once per Frame() call.
struct FrameStats {
    double totalTime = 0.0;
    int fps = 0;
    int frameCount = 0;
    double fpsTime = 0.0;

    void advance(double dt)
    {
        totalTime += dt;
        frameCount += 1;
        fpsTime += dt;
        if (fpsTime >= 1.0) {
            // The part above one second is dropped, not carried over.
            fps = frameCount;
            frameCount = 0;
            fpsTime = 0.0;
        }
    }
};
