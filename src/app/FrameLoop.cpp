#include "app/FrameLoop.h"

#include "app/EventSource.h"
#include "app/FrameClock.h"
#include "app/FrameTarget.h"
#include "app/Letterbox.h"
#include "runtime/QGameSystem.h"
#include "runtime/ScriptJson.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QScriptEngine>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>

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

// Lines cut to a width that fits the window at the overlay's text size.
QString wrapped(const QString& text, int width)
{
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        while (line.size() > width) {
            lines << line.left(width);
            line = QStringLiteral("    ") + line.mid(width);
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
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
    if (!begin(QStringLiteral("main"), params))
        return false;
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
    previous = now;

    if (development) {
        const QString changed = changedFile();
        if (!changed.isEmpty()) {
            qDebug()
                << QStringLiteral("Reloading scripts/%1.js: %2 changed").arg(currentName, changed);
            switchTo(currentName, currentParams);
        }
    }
    pollEvents();
    if (!failureText.isEmpty()) {
        showFailure();
        return std::nullopt;
    }
    const sf::Vector2i mouse = drawingPoint(target.renderTarget(), events.mousePosition());
    current->setMousePos(mouse.x, mouse.y);

    if (!current->callFrame(double(dt))) {
        // Only an error is held: a false Frame is the game asking to end.
        if (development && !current->lastError().isEmpty())
            return failed(0);
        events.close();
        return end(0);
    }
    if (current->hasPendingScript()) {
        const QString name = current->pendingScript();
        if (!switchTo(name, current->pendingParamsText()))
            return 1;
    }
    if (!failureText.isEmpty()) {
        showFailure();
        return std::nullopt;
    }
    current->callRender(target.renderTarget());
    if (development && target.renderTarget()) {
        if (!lastFrame)
            lastFrame = std::make_unique<sf::Texture>();
        target.keepFrame(*lastFrame);
    }
    target.display();
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
    return begin(name, paramsText);
}

bool FrameLoop::begin(const QString& name, const QString& paramsText)
{
    currentName = name;
    currentParams = paramsText;
    failureText.clear();
    if (development)
        stamps = fileStamps();
    return current->callInit(paramsText) || !failed(1);
}

std::optional<int> FrameLoop::failed(int code)
{
    if (!development)
        return end(code);
    failureText = current->lastError();
    if (failureText.isEmpty())
        failureText = QStringLiteral("Init returned false");
    // What the failed script left running stays quiet until the reload.
    current->systemObject()->stopAllTimers();
    showFailure();
    return std::nullopt;
}

void FrameLoop::setDevelopmentMode(const QString& fontPath)
{
    development = true;
    fontLoaded = QFileInfo::exists(fontPath) && font.loadFromFile(fontPath.toStdString());
    if (current)
        stamps = fileStamps();
}

QHash<QString, QString> FrameLoop::fileStamps() const
{
    QStringList files = current->sourceFiles();
    // A script that is missing now is watched for the moment it appears.
    files << QStringLiteral("scripts/") + currentName + QStringLiteral(".js");
    QHash<QString, QString> result;
    for (const QString& file : files) {
        const QFileInfo info(file);
        result.insert(file, info.exists()
                                ? QString::number(info.size()) + QLatin1Char('@') +
                                      QString::number(info.lastModified().toMSecsSinceEpoch())
                                : QString());
    }
    return result;
}

QString FrameLoop::changedFile() const
{
    const QHash<QString, QString> now = fileStamps();
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (stamps.value(it.key()) != it.value())
            return it.key();
    }
    return QString();
}

void FrameLoop::showFailure()
{
    if (sf::RenderTarget* picture = target.renderTarget()) {
        picture->clear();
        if (lastFrame && lastFrame->getSize().x > 0) {
            // The kept frame covers the whole target, bars included.
            const sf::View drawing = picture->getView();
            const sf::Vector2f size(picture->getSize());
            picture->setView(sf::View(sf::FloatRect(0.0f, 0.0f, size.x, size.y)));
            picture->draw(sf::Sprite(*lastFrame));
            picture->setView(drawing);
        }
        if (fontLoaded) {
            const std::string text =
                (wrapped(failureText, 90) + QStringLiteral("\n\nSave a watched file to reload."))
                    .toStdString();
            sf::Text shown(sf::String::fromUtf8(text.begin(), text.end()), font, 14);
            shown.setPosition(12.0f, 12.0f);
            shown.setFillColor(sf::Color::White);
            const sf::FloatRect area = shown.getGlobalBounds();
            sf::RectangleShape panel({area.width + 16.0f, area.height + 16.0f});
            panel.setPosition(area.left - 8.0f, area.top - 8.0f);
            panel.setFillColor(sf::Color(48, 16, 16, 224));
            picture->draw(panel);
            picture->draw(shown);
        }
    }
    target.display();
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
            // Escape still ends a run whose script failed and cannot see it.
            if (!failureText.isEmpty() && event.key.code == sf::Keyboard::Escape) {
                events.close();
                return;
            }
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
