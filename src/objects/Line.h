#pragma once

#include <QObject>
#include <SFML/Graphics/VertexArray.hpp>

class DrawContext;

// A one-pixel line that a script draws anywhere, as often as it likes.
class Line : public QObject {
    Q_OBJECT
public:
    explicit Line(DrawContext* context, QObject* parent = nullptr);

public slots:
    void drawTo(int x1, int y1, int x2, int y2);
    void setColor(int r, int g, int b);

private:
    sf::VertexArray vertices;
    DrawContext* context;
};
