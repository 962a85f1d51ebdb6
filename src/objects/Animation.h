#pragma once

#include "core/AnimationClock.h"
#include "objects/Sprite.h"

#include <QStringList>
#include <SFML/Graphics/Image.hpp>
#include <vector>

struct FrameRect;

// A Sprite that shows one of several frame textures, stepped by the Game
// once per frame. Frames come from a sheet cut in equal rectangles or from
// one file each; all are made at construction.
class Animation : public Sprite {
    Q_OBJECT
public:
    // More frames than this are refused: each is a texture of its own.
    static constexpr int maxFrames = 65536;
    // Nor a sheet whose frames hold more pixels than this (1 GiB of RGBA):
    // a frame count above the sheet's width makes every frame the whole image.
    static constexpr qint64 maxSheetPixels = qint64(1) << 28;

    // Null when the call cannot make an animation (framecount outside
    // 1..maxFrames, or frames above maxSheetPixels). w or h below 0 cuts a
    // strip of framecount frames.
    static Animation* fromSheet(DrawContext* context, const QString& filename, int w, int h,
                                int framecount, int fps, bool usetransp);
    // Null for a non-array, an empty array or more than maxFrames names.
    static Animation* fromFiles(DrawContext* context, const QScriptValue& arr, int fps);

    void update(double dt) override;
    direct::Slots directCalls() const override;

public slots:
    void setSmooth(bool smooth) override;
    void convertPixels(QScriptValue convertFunc) override;
    void play();
    void playOneTime();
    void stop();
    bool isPlayed();

private:
    Animation(DrawContext* context, int framecount, int fps);
    void cutSheet(const sf::Image& image, const std::vector<FrameRect>& rects);
    void loadFiles(const QStringList& names);
    void show(int frame);
    void showFirstFrame();
    void freeResources() override;

    std::vector<sf::Texture> frames;
    AnimationClock clock;
};
