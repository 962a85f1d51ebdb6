#include "Animation.h"

#include "SheetImage.h"

#include <QScriptValue>
#include <SFML/Graphics/Image.hpp>

#include <algorithm>

namespace {

// The texture for one sheet rectangle, by the graphics library's rules: a
// zero width or height means the whole image, a rectangle reaching past the
// image is cut to it, one wholly outside gives an empty texture. Clipping is
// done here in 64 bits so absurd sizes cannot overflow the library's ints.
void cutFrame(sf::Texture& frame, const sf::Image& image, qint64 left, qint64 top, qint64 w,
              qint64 h)
{
    const qint64 imageW = image.getSize().x, imageH = image.getSize().y;
    if (w == 0 || h == 0) {
        frame.loadFromImage(image);
        return;
    }
    const qint64 width = std::min(w, imageW - left);
    const qint64 height = std::min(h, imageH - top);
    if (width <= 0 || height <= 0)
        return;
    frame.loadFromImage(image, sf::IntRect(int(left), int(top), int(width), int(height)));
}

} // namespace

Animation::Animation(Game* game, int framecount, int fps)
    : Sprite(game), frames(static_cast<std::size_t>(framecount)),
      clock(framecount, static_cast<float>(fps))
{
}

Animation* Animation::fromSheet(Game* game, const QString& filename, int w, int h, int framecount,
                                int fps, bool usetransp)
{
    if (framecount < 1 || framecount > maxFrames)
        return nullptr;
    auto* animation = new Animation(game, framecount, fps);
    animation->cutSheet(filename, w, h, usetransp);
    return animation;
}

Animation* Animation::fromFiles(Game* game, const QScriptValue& arr, int fps)
{
    if (!arr.isArray())
        return nullptr;
    QStringList names;
    // The length is read again before each element: converting one may change it.
    for (qint32 i = 0; i < arr.property(QStringLiteral("length")).toInt32(); ++i) {
        if (names.size() >= maxFrames)
            return nullptr;
        names << arr.property(static_cast<quint32>(i)).toString();
    }
    if (names.isEmpty())
        return nullptr;
    auto* animation = new Animation(game, names.size(), fps);
    animation->loadFiles(names);
    return animation;
}

void Animation::cutSheet(const QString& filename, int w, int h, bool usetransp)
{
    const sf::Image image = loadSheetImage(filename, usetransp);
    const qint64 imageW = image.getSize().x;
    qint64 frameW = w, frameH = h;
    if (w < 0 || h < 0) {
        frameW = image.getSize().x / static_cast<unsigned>(frames.size());
        frameH = image.getSize().y;
    }
    qint64 left = 0, top = 0;
    for (sf::Texture& frame : frames) {
        cutFrame(frame, image, left, top, frameW, frameH);
        frame.setSmooth(true);
        left += frameW;
        if (left >= imageW) {
            top += frameH;
            left = 0;
        }
    }
    assignTexture(frames[0]);
    showFirstFrame();
}

void Animation::loadFiles(const QStringList& names)
{
    loadImageFile(names[0]);
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray path = (QStringLiteral("sprites/") + names[i]).toUtf8();
        frames[static_cast<std::size_t>(i)].loadFromFile(path.constData());
        frames[static_cast<std::size_t>(i)].setSmooth(true);
    }
    showFirstFrame();
}

void Animation::showFirstFrame()
{
    clock.play();
    show(clock.step(0.0));
    clock.stop();
}

void Animation::show(int frame)
{
    if (frame >= 0 && static_cast<std::size_t>(frame) < frames.size())
        picture.setTexture(frames[static_cast<std::size_t>(frame)]);
}

void Animation::update(double dt)
{
    if (clock.isPlaying())
        show(clock.step(dt));
}

void Animation::setSmooth(bool smooth)
{
    for (sf::Texture& frame : frames)
        frame.setSmooth(smooth);
}

void Animation::convertPixels(QString convertFunc)
{
    for (sf::Texture& frame : frames)
        convertTexture(frame, convertFunc);
}

void Animation::play()
{
    clock.play();
}

void Animation::playOneTime()
{
    clock.startOneTime();
    show(clock.step(0.0));
}

void Animation::stop()
{
    clock.stop();
}

bool Animation::isPlayed()
{
    return clock.isPlaying();
}
