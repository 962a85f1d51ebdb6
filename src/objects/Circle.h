#pragma once

#include "objects/Releasable.h"

#include <QObject>
#include <SFML/Graphics/CircleShape.hpp>

class DrawContext;

// A filled disc with an optional border, drawn where the script says at each draw.
class Circle : public Releasable {
    Q_OBJECT
public:
    explicit Circle(DrawContext* context, QObject* parent = nullptr);

public slots:
    // Centre and radius; a radius below 1 draws nothing.
    void drawTo(int cx, int cy, int radius);
    void setFillColor(int r, int g, int b);
    void setFillColor(int r, int g, int b, int a);
    void setBorderColor(int r, int g, int b);
    void setBorderColor(int r, int g, int b, int a);
    // Positive widths grow the disc outwards, negative ones eat into it.
    void setLineWidth(int w);

private:
    void freeResources() override;
    sf::CircleShape shape;
    DrawContext* context;
};
