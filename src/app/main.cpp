#include "app/CreateGame.h"
#include "app/Display.h"
#include "app/ExtProc.h"
#include "app/FrameClock.h"
#include "app/FrameLoop.h"
#include "app/WindowFrontend.h"
#include "runtime/MapViewer.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QStringList>
#include <SFML/Graphics/RenderWindow.hpp>

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

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromUtf8(argv[i]);

    RealClock clock;
    WindowFrontend frontend(window);
    FrameLoop loop([&](const QString& name) { return createGame(name, &map, &sink); }, clock,
                   frontend, frontend);
    // Development mode reloads on edits and shows failures in the window.
    if (qgetenv("LEDGE_DEV") == "1")
        loop.setDevelopmentMode(QStringLiteral("fonts/DejaVuSans.ttf"));
    return loop.run(arguments);
}
