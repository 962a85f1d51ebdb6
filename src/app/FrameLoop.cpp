#include "app/FrameLoop.h"

#include "app/EventSource.h"
#include "app/FrameClock.h"
#include "app/FrameTarget.h"
#include "app/Letterbox.h"
#include "runtime/ScriptJson.h"

#include <QCoreApplication>
#include <QScriptEngine>

namespace {

QScriptValue argumentObject(QScriptEngine* engine, const QStringList& arguments)
{
    QScriptValue args = engine->newObject();
    for (int i = 0; i < arguments.size(); ++i)
        args.setProperty(quint32(i), engine->newVariant(QVariant(arguments[i])),
                         QScriptValue::KeepExistingFlags);
    args.setProperty(QStringLiteral("length"), arguments.size(), QScriptValue::KeepExistingFlags);
    return args;
}

} // namespace

FrameLoop::FrameLoop(GameMaker makeGame, FrameClock& clock, EventSource& events,
                     FrameTarget& target)
    : makeGame(std::move(makeGame)), clock(clock), events(events), target(target)
{
}

bool FrameLoop::start(const QStringList& arguments)
{
    make(QStringLiteral("main"));
    const QString params = scriptValueToJson(argumentObject(current->scriptEngine(), arguments));
    if (!current->callInit(params)) {
        end(1);
        return false;
    }
    previous = clock.now();
    return true;
}

std::optional<int> FrameLoop::step()
{
    if (exitCode)
        return exitCode;
    if (!events.isOpen())
        return end(0);
    // Timers fire here and only here, before anything else of the frame.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    current->systemObject()->runDueTimers();
    const float now = clock.now();
    const float dt = clock.interval(previous, now);
    elapsed += double(dt);

    pollEvents();
    const sf::Vector2i mouse = drawingPoint(target.renderTarget(), events.mousePosition());
    current->setMousePos(mouse.x, mouse.y);

    if (!current->callFrame(double(dt))) {
        events.close();
        return end(0);
    }
    if (current->hasPendingScript()) {
        const QString name = current->pendingScript();
        if (!switchTo(name, current->pendingParamsText()))
            return 1;
    }
    current->callRender(target.renderTarget());
    target.display();
    previous = now;
    return std::nullopt;
}

int FrameLoop::run(const QStringList& arguments)
{
    if (!start(arguments))
        return 1;
    for (;;) {
        if (const std::optional<int> code = step())
            return *code;
    }
}

bool FrameLoop::switchTo(const QString& name, const QString& paramsText)
{
    // The old Game and all it made are gone before the new one is made.
    current.reset();
    make(name);
    if (current->callInit(paramsText))
        return true;
    end(1);
    return false;
}

void FrameLoop::make(const QString& name)
{
    current = makeGame(name);
    if (framedTimers)
        current->systemObject()->followClock(this);
}

void FrameLoop::pollEvents()
{
    sf::Event event;
    while (events.pollEvent(event)) {
        switch (event.type) {
        case sf::Event::Closed:
            // Events still queued are left unread; the frame goes on.
            events.close();
            return;
        case sf::Event::KeyPressed:
            current->keyPressed(event.key.code);
            break;
        case sf::Event::MouseButtonPressed:
            if (event.mouseButton.button == sf::Mouse::Left)
                current->leftPressed();
            else if (event.mouseButton.button == sf::Mouse::Right)
                current->rightPressed();
            else if (event.mouseButton.button == sf::Mouse::Middle)
                current->buttonPressed(InputState::Middle);
            break;
        case sf::Event::KeyReleased:
            current->keyReleased(event.key.code);
            break;
        case sf::Event::MouseButtonReleased:
            // The window library's first three buttons, in the input state's order.
            if (event.mouseButton.button <= sf::Mouse::Middle)
                current->buttonReleased(InputState::Button(event.mouseButton.button));
            break;
        case sf::Event::MouseWheelScrolled:
            if (event.mouseWheelScroll.wheel == sf::Mouse::VerticalWheel)
                current->wheelMoved(event.mouseWheelScroll.delta);
            break;
        case sf::Event::JoystickButtonPressed:
            current->joystickButtonPressed(event.joystickButton.joystickId,
                                           event.joystickButton.button);
            break;
        case sf::Event::LostFocus:
            current->focusLost();
            break;
        case sf::Event::Resized:
            if (sf::RenderTarget* shown = target.renderTarget())
                applyLetterbox(*shown);
            break;
        default:
            break;
        }
    }
}

int FrameLoop::end(int code)
{
    current.reset();
    exitCode = code;
    return code;
}
