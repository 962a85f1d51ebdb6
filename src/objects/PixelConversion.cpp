#include "objects/PixelConversion.h"

#include "objects/DrawContext.h"
#include "objects/ScriptWatchdog.h"

#include <QScopedValueRollback>
#include <QScriptEngine>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <vector>

QString pixelCallText(const QString& convertFunc, int r, int g, int b, int a)
{
    return (convertFunc + QStringLiteral("({r:%1,g:%2,b:%3,a:%4})")).arg(r).arg(g).arg(b).arg(a);
}

namespace {

std::uint8_t channel(const QScriptValue& result, const QString& name)
{
    return static_cast<std::uint8_t>(result.property(name).toInt32() & 0xFF);
}

} // namespace

void convertPixelBuffer(ScriptWatchdog& guard, std::uint8_t* rgba, int width, int height,
                        const QScriptValue& convertFunc)
{
    if (!rgba)
        return;
    QScriptEngine* engine = guard.scriptEngine();
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), g = QStringLiteral("g"),
                  r = QStringLiteral("r");
    const bool isFunction = convertFunc.isFunction();
    const QString text = isFunction ? QString() : convertFunc.toString();
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* p = rgba + (static_cast<std::size_t>(y) * width + x) * 4;
            QScriptValue result;
            if (isFunction) {
                QScriptValue pixel = engine->newObject();
                pixel.setProperty(r, p[0]);
                pixel.setProperty(g, p[1]);
                pixel.setProperty(b, p[2]);
                pixel.setProperty(a, p[3]);
                result = guard.call(convertFunc, QScriptValueList{pixel});
            } else {
                result = guard.evaluate(pixelCallText(text, p[0], p[1], p[2], p[3]));
            }
            // Checked before the pixel's error is cleared: that error carries
            // the end of the call outwards.
            if (guard.aborted())
                return;
            if (engine->hasUncaughtException())
                engine->clearExceptions();
            if (!result.isObject()) {
                p[0] = p[1] = p[2] = p[3] = 0;
                continue;
            }
            p[3] = channel(result, a);
            p[2] = channel(result, b);
            p[1] = channel(result, g);
            p[0] = channel(result, r);
        }
    }
}

void convertTextureWith(DrawContext& context, sf::Texture& tex, const QScriptValue& convertFunc)
{
    // Conversion code that converts again would repeat the whole inner
    // conversion for every pixel of the outer one, which never ends in
    // practice; a conversion started from conversion code does nothing.
    static bool converting = false;
    if (converting)
        return;
    const QScopedValueRollback<bool> busy(converting, true);
    const sf::Vector2u size = tex.getSize();
    if (size.x == 0 || size.y == 0)
        return;
    const sf::Image image = tex.copyToImage();
    const sf::Uint8* src = image.getPixelsPtr();
    if (!src)
        return;
    std::vector<std::uint8_t> pixels(src, src + static_cast<std::size_t>(size.x) * size.y * 4);
    convertPixelBuffer(context.scriptGuard(), pixels.data(), static_cast<int>(size.x),
                       static_cast<int>(size.y), convertFunc);
    // Sprites drawn before, even by the conversion code, show the old pixels.
    context.flushSprites();
    tex.update(pixels.data());
}
