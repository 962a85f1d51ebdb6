#pragma once

#include "core/ContactGeometry.h"

#include "objects/DirectCalls.h"
#include "objects/Releasable.h"
#include <QMap>

#include <QObject>
#include <QScriptValue>
#include <QString>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/VertexArray.hpp>

class DrawContext;

// Script-visible image; base of Animation. Drawn immediately onto its context's
// render target with its hot spot on the draw position; contact tests use
// the transform of the last draw.
class Sprite : public Releasable {
    Q_OBJECT
public:
    explicit Sprite(DrawContext* context, QObject* parent = nullptr);

    // Per-frame step, called by the Game before every Frame().
    virtual void update(double dt);

    // Loads sprites/<filename> with the graphics library; a failed load gives 0 x 0.
    void loadImageFile(const QString& filename);
    // Copies source in, turns smoothing on, takes its size and centres the hot spot.
    void assignTexture(const sf::Texture& source);
    // Rewrites every pixel of tex with the result of a script call per pixel.
    void convertTexture(sf::Texture& tex, const QScriptValue& convertFunc);

    // The drawn rectangle's corners under the current transform.
    contact::Corners corners() const;

    // The slots a script calls many times a frame, for this object's wrapper.
    virtual direct::Slots directCalls() const;

public slots:
    void renderTo(int x, int y);
    void render();
    void setXY(int x, int y);
    void mirrorHorz(bool mirror);
    void mirrorVert(bool mirror);
    void setBordered(bool bordered);
    void setScale(int perc);
    void setScaleX(int perc);
    void setScaleY(int perc);
    void setAngle(int a);
    void setAlpha(int alpha);
    void setHotSpot(int x, int y);
    virtual void setSmooth(bool smooth);
    void setContactModelBox();
    void setContactModelCircle();
    void setTag(QString tagname, QScriptValue tagvalue);
    virtual void convertPixels(QScriptValue convertFunc);
    bool isContactWith(QScriptValue obj2);
    bool isPointIn(int x, int y);
    QScriptValue getTag(QString tagname);
    int getWidth();
    int getHeight();

protected:
    void freeResources() override;
    // The drawing, transform and size slots, on wrappers of a C.
    template <typename C> static direct::Slots directCallsOf();

    enum ContactModel { Box = 0, Circle = 1 };

    DrawContext* context;
    sf::Texture texture;
    sf::Sprite picture;
    sf::VertexArray border;
    bool mirrorH = false;
    bool mirrorV = false;
    bool bordered = false;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    int posX = 0;
    int posY = 0;
    QMap<QString, QScriptValue> tags;
    int contactModel = Box;
    int width = 0;
    int height = 0;
};
