#include "Animation.h"

#include "RegularFile.h"
#include "SheetImage.h"

#include <QScriptValue>
#include <SFML/Graphics/Image.hpp>

#include <algorithm>

namespace {

// The frames of a sheet in row-major order, as the rectangles the graphics
// library would copy: a zero width or height means the whole image, one
// reaching past the image is cut to it, one wholly outside is empty (0 x 0).
// Worked out in 64 bits so that absurd sizes cannot overflow.
std::vector<sf::IntRect> sheetFrames(sf::Vector2u size, int count, int w, int h)
{
    const qint64 imageW = size.x, imageH = size.y;
    qint64 frameW = w, frameH = h;
    if (w < 0 || h < 0) {
        frameW = size.x / static_cast<unsigned>(count);
        frameH = size.y;
    }
    std::vector<sf::IntRect> rects;
    rects.reserve(static_cast<std::size_t>(count));
    qint64 left = 0, top = 0;
    for (int i = 0; i < count; ++i) {
        if (frameW == 0 || frameH == 0) {
            rects.emplace_back(0, 0, int(imageW), int(imageH));
        } else {
            const qint64 width = std::min(frameW, imageW - left);
            const qint64 height = std::min(frameH, imageH - top);
            rects.push_back(width > 0 && height > 0
                                ? sf::IntRect(int(left), int(top), int(width), int(height))
                                : sf::IntRect());
        }
        left += frameW;
        if (left >= imageW) {
            top += frameH;
            left = 0;
        }
    }
    return rects;
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
    const sf::Image image = loadSheetImage(filename, usetransp);
    const std::vector<sf::IntRect> rects = sheetFrames(image.getSize(), framecount, w, h);
    qint64 pixels = 0;
    for (const sf::IntRect& r : rects)
        pixels += qint64(r.width) * r.height;
    if (pixels > maxSheetPixels)
        return nullptr;
    auto* animation = new Animation(game, framecount, fps);
    animation->cutSheet(image, rects);
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

void Animation::cutSheet(const sf::Image& image, const std::vector<sf::IntRect>& rects)
{
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (rects[i].width > 0 && rects[i].height > 0)
            frames[i].loadFromImage(image, rects[i]);
        frames[i].setSmooth(true);
    }
    assignTexture(frames[0]);
    showFirstFrame();
}

void Animation::loadFiles(const QStringList& names)
{
    loadImageFile(names[0]);
    for (int i = 0; i < names.size(); ++i) {
        const QString path = QStringLiteral("sprites/") + names[i];
        if (loaderMayOpen(path, fileLimits::assetBytes))
            frames[static_cast<std::size_t>(i)].loadFromFile(path.toUtf8().constData());
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
