#pragma once

#include <QtGlobal>
#include <random>

class QScriptEngine;

// A Math.random that gives the same sequence for the same seed, on every
// machine: runs of a game can then be repeated exactly.
class SeededRandom {
public:
    explicit SeededRandom(quint64 seed) : generator(seed) {}
    // Replaces Math.random of this engine; the engine must not outlive this.
    void install(QScriptEngine* engine);
    // In [0, 1).
    double next();
    quint32 next32() { return quint32(generator() >> 32); }

private:
    std::mt19937_64 generator;
};
