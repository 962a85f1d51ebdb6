#pragma once

#include "runtime/Game.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// Every benchmark runs with a scratch data directory as the working
// directory, so relative asset and script paths resolve as in the program.
void writeDataFile(const QString& relativePath, const QByteArray& bytes);

// A Game for the script text, written as scripts/<name>.js, with Init() called.
GameOwner makeGame(const QString& name, const QByteArray& scriptText);

// Anything that makes a texture (every sprite, even of a missing file) needs
// an X display: run those under Xvfb.
bool haveDisplay();

// A standard 8-bit RLE PCX file (rows encoded apart, palette marker and
// palette at the end), so other decoders read it too. Half the image is
// runs, a quarter flat colour, a quarter noise, as game art tends to be.
QByteArray makePcx(int width, int height, std::uint32_t seed = 1);
