#pragma once

#include <QScriptValue>
#include <QString>
#include <cstdint>

class DrawContext;
class ScriptWatchdog;
namespace sf {
class Texture;
}

// Recolouring by a script function, one evaluation per pixel: the text is
// convertFunc followed by "({r:R,g:G,b:B,a:A})", its %-markers filled in
// turn by QString::arg, so markers in convertFunc itself are filled too.
QString pixelCallText(const QString& convertFunc, int r, int g, int b, int a);

// Converts an RGBA buffer in place, column by column, each column top to
// bottom. A script function is called with a fresh {r, g, b, a} object per
// pixel; anything else is taken as the text of pixelCallText. A channel is
// the result's property ToInt32, low 8 bits; failed evaluations and
// non-object results give (0, 0, 0, 0). Exceptions raised by the conversion
// code are not left pending for the calling script. Code runs through the
// guard; a call it ends ends the conversion there.
void convertPixelBuffer(ScriptWatchdog& guard, std::uint8_t* rgba, int width, int height,
                        const QScriptValue& convertFunc);

// Reads tex back, converts it with the context's guard and uploads it again
// (size and smoothing stay). Called again from within conversion code it
// does nothing.
void convertTextureWith(DrawContext& context, sf::Texture& tex, const QScriptValue& convertFunc);
