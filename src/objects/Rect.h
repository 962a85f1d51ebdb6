#pragma once

#include <QObject>
#include <SFML/Graphics/RectangleShape.hpp>

class DrawContext;

// A filled axis-aligned box with an optional border, drawn where the script
// says at each draw.
class Rect : public QObject {
    Q_OBJECT
public:
    explicit Rect(DrawContext* context, QObject* parent = nullptr);

public slots:
    void drawTo(int x, int y, int w, int h);
    void setFillColor(int r, int g, int b);
    void setBorderColor(int r, int g, int b);
    // Positive widths grow the box outwards, negative ones eat into it.
    void setLineWidth(int w);

private:
    sf::RectangleShape shape;
    DrawContext* context;
};
