#include "app/ExtProc.h"

#include <QDebug>
#include <SFML/Window/Window.hpp>

ExtProc::ExtProc(sf::Window* window, QObject* parent) : QObject(parent), window(window) {}

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
    window->setTitle(sf::String::fromUtf8(utf8.constData(), utf8.constData() + utf8.size()));
}

void ExtProc::switchCursor(bool visible)
{
    if (window)
        window->setMouseCursorVisible(visible);
}
