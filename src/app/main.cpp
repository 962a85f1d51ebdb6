#include "CreateGame.h"
#include "Display.h"
#include "ExtProc.h"
#include "Game.h"
#include "MapViewer.h"
#include "ScriptJson.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QScriptEngine>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Mouse.hpp>
#include <memory>

namespace {

// The command line as the object { "0": program, "1": ..., "length": n }.
QScriptValue argumentObject(QScriptEngine* engine, int argc, char** argv)
{
    QScriptValue args = engine->newObject();
    for (int i = 0; i < argc; ++i)
        args.setProperty(quint32(i), engine->newVariant(QVariant(argv[i])),
                         QScriptValue::KeepExistingFlags);
    args.setProperty(QStringLiteral("length"), argc, QScriptValue::KeepExistingFlags);
    return args;
}

void pollEvents(sf::RenderWindow& window, sf::Event& event, Game& game)
{
    while (window.pollEvent(event)) {
        switch (event.type) {
        case sf::Event::Closed:
            // Events still queued are left unread; the frame goes on.
            window.close();
            return;
        case sf::Event::KeyPressed:
            game.keyPressed(event.key.code);
            break;
        case sf::Event::MouseButtonPressed:
            if (event.mouseButton.button == sf::Mouse::Left)
                game.leftPressed();
            else if (event.mouseButton.button == sf::Mouse::Right)
                game.rightPressed();
            break;
        default:
            break;
        }
    }
}

void endGame(std::unique_ptr<Game>& game)
{
    game->releaseAll();
    game.reset();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDir::setCurrent(QStringLiteral("../data"));

    if (!displayAvailable()) {
        qDebug() << QStringLiteral("No display to open the window on (is DISPLAY set?)");
        return 1;
    }

    sf::RenderWindow window(sf::VideoMode(800, 600, 32), "MainWindow", sf::Style::Default,
                            sf::ContextSettings());
    window.setVerticalSyncEnabled(true);
    window.setFramerateLimit(60);

    ExtProc sink(&window);
    MapViewer map(&window);

    std::unique_ptr<Game> game(createGame(QStringLiteral("main"), &map, &sink));
    const QString initParams = scriptValueToJson(argumentObject(game->scriptEngine(), argc, argv));
    if (!game->callInit(initParams)) {
        endGame(game);
        return 1;
    }

    sf::Clock clock;
    float previous = clock.getElapsedTime().asSeconds();
    sf::Event event;
    for (;;) {
        if (!window.isOpen())
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const float now = clock.getElapsedTime().asSeconds();
        const float dt = now - previous;

        pollEvents(window, event, *game);
        const sf::Vector2i mouse = sf::Mouse::getPosition(window);
        game->setMousePos(mouse.x, mouse.y);

        if (!game->callFrame(double(dt))) {
            window.close();
            break;
        }
        if (game->hasPendingScript()) {
            const QString name = game->pendingScript();
            const QString params = game->pendingParamsText();
            endGame(game);
            game.reset(createGame(name, &map, &sink));
            if (!game->callInit(params)) {
                endGame(game);
                return 1;
            }
        }
        game->callRender(&window);
        window.display();
        previous = now;
    }
    endGame(game);
    return 0;
}
