#pragma once

#include "objects/Releasable.h"

#include <QObject>
#include <SFML/Graphics/RectangleShape.hpp>

class DrawContext;

// A filled axis-aligned box with an optional border, drawn where the script
// says at each draw.
class Rect : public Releasable {
    Q_OBJECT
public:
    explicit Rect(DrawContext* context, QObject* parent = nullptr);

public slots:
    void drawTo(int x, int y, int w, int h);
    void setFillColor(int r, int g, int b);
    void setBorderColor(int r, int g, int b);
    // Positive widths grow the box outwards, negative ones eat into it.
    void setLineWidth(int w);
    void setFillColor(int r, int g, int b, int a);
    void setBorderColor(int r, int g, int b, int a);

private:
    void freeResources() override;
    sf::RectangleShape shape;
    DrawContext* context;
};
