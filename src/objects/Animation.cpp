#include "objects/Animation.h"

#include "core/AssetPaths.h"
#include "core/SheetFrames.h"
#include "objects/AssetLoad.h"
#include "objects/DrawContext.h"
#include "objects/ScriptArray.h"
#include "objects/SheetImage.h"

#include <QScriptValue>
#include <SFML/Graphics/Image.hpp>

Animation::Animation(DrawContext* context, int framecount, int fps)
    : Sprite(context), frames(static_cast<std::size_t>(framecount)),
      clock(framecount, static_cast<float>(fps))
{
}

Animation* Animation::fromSheet(DrawContext* context, const QString& filename, int w, int h,
                                int framecount, int fps, bool usetransp)
{
    if (framecount < 1 || framecount > maxFrames)
        return nullptr;
    const sf::Image image = loadSheetImage(filename, usetransp);
    const std::vector<FrameRect> rects =
        sheetFrames(image.getSize().x, image.getSize().y, framecount, w, h);
    qint64 pixels = 0;
    for (const FrameRect& r : rects)
        pixels += qint64(r.width) * r.height;
    if (pixels > maxSheetPixels)
        return nullptr;
    auto* animation = new Animation(context, framecount, fps);
    animation->cutSheet(image, rects);
    return animation;
}

Animation* Animation::fromFiles(DrawContext* context, const QScriptValue& arr, int fps)
{
    if (!arr.isArray())
        return nullptr;
    QStringList names;
    bool tooMany = false;
    forEachElement(arr, [&](const QScriptValue& name) {
        tooMany = names.size() >= maxFrames;
        if (!tooMany)
            names << name.toString();
        return !tooMany;
    });
    if (tooMany || names.isEmpty())
        return nullptr;
    auto* animation = new Animation(context, names.size(), fps);
    animation->loadFiles(names);
    return animation;
}

void Animation::cutSheet(const sf::Image& image, const std::vector<FrameRect>& rects)
{
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const FrameRect& r = rects[i];
        if (r.width > 0 && r.height > 0)
            frames[i].loadFromImage(image, sf::IntRect(r.left, r.top, r.width, r.height));
        frames[i].setSmooth(true);
    }
    assignTexture(frames[0]);
    showFirstFrame();
}

void Animation::loadFiles(const QStringList& names)
{
    loadImageFile(names[0]);
    // The first file is read once: the base's texture is frame 0.
    frames[0] = texture;
    for (int i = 1; i < names.size(); ++i) {
        asset::loadTexture(frames[static_cast<std::size_t>(i)], spritePath(names[i]));
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

direct::Slots Animation::directCalls() const
{
    return directCallsOf<Animation>();
}

void Animation::update(double dt)
{
    if (clock.isPlaying())
        show(clock.step(dt));
}

void Animation::setSmooth(bool smooth)
{
    context->flushSprites();
    for (sf::Texture& frame : frames)
        frame.setSmooth(smooth);
}

void Animation::convertPixels(QScriptValue convertFunc)
{
    const Hold hold(*this);
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

void Animation::freeResources()
{
    Sprite::freeResources();
    std::vector<sf::Texture>().swap(frames);
}
