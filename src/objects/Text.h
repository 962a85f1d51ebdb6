#pragma once

#include "objects/GlyphGuard.h"

#include <QObject>
#include <QString>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

class DrawContext;

// Text in a font of the game's own; each object loads its own copy of the font.
class Text : public QObject {
    Q_OBJECT
public:
    // Loads fonts/<fontname>; a font that fails to load, or whose glyphs
    // cannot be drawn safely, leaves a Text that draws no glyphs.
    Text(const QString& fontname, DrawContext* context, QObject* parent = nullptr);

    // Glyphs are rasterised at the character size, so a size the screen
    // cannot show is capped rather than handed to the font library.
    static constexpr int maxSize = 1024;

public slots:
    void printTo(int x, int y);
    void setAlignCenter();
    // A backslash followed by n starts a new line.
    void setText(QString str);
    // Sizes below 1 draw nothing; sizes above maxSize draw at maxSize.
    void setSize(int size);
    void setColor(int r, int g, int b);

private:
    bool loadFont();
    // Before the first draw of a new string or size.
    bool glyphsSafe();

    QString fontPath;
    GlyphGuard guard;
    bool glyphsChecked = false;
    // Reads the guard's bytes, so it comes after the guard.
    sf::Font font;
    sf::Text label;
    DrawContext* context;
    bool alignCenter = false;
    // Without a font the drawing library still puts a dot at every glyph.
    bool hasFont = false;
};
