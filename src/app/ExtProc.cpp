#include "app/ExtProc.h"

#include "app/Letterbox.h"
#include "core/Letterbox.h"
#include <QDebug>

#include <SFML/Graphics/RenderWindow.hpp>

ExtProc::ExtProc(sf::RenderWindow* window, QObject* parent) : QObject(parent), window(window) {}

void ExtProc::getMessage(QString msg)
{
    qDebug() << msg;
}

void ExtProc::getPair(QString, QVariant) {}

void ExtProc::setTitle(QString caption)
{
    if (!window)
        return;
    const QByteArray utf8 = caption.toUtf8();
    title = sf::String::fromUtf8(utf8.constData(), utf8.constData() + utf8.size());
    window->setTitle(title);
}

void ExtProc::switchCursor(bool visible)
{
    cursorVisible = visible;
    if (window)
        window->setMouseCursorVisible(visible);
}

sf::Vector2u ExtProc::windowSize() const
{
    return window ? window->getSize() : sf::Vector2u(drawingWidth, drawingHeight);
}

void ExtProc::setFullscreen(bool on)
{
    if (!window || on == fullscreen)
        return;
    fullscreen = on;
    if (on)
        window->create(sf::VideoMode::getDesktopMode(), title, sf::Style::Fullscreen);
    else
        window->create(sf::VideoMode(drawingWidth, drawingHeight, 32), title, sf::Style::Default);
    window->setVerticalSyncEnabled(true);
    window->setFramerateLimit(60);
    window->setMouseCursorVisible(cursorVisible);
    applyLetterbox(*window);
}
