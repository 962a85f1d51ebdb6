#pragma once

#include "core/FrameStats.h"
#include "core/IncludeExpander.h"
#include "core/InputState.h"
#include "objects/DirectCalls.h"
#include "objects/DrawContext.h"
#include "objects/SpriteBatch.h"

#include <QList>
#include <QObject>
#include <QScriptProgram>
#include <QScriptValue>
#include <QString>
#include <SFML/Graphics/Color.hpp>
#include <memory>

class QScriptContext;
class QScriptEngine;
class QGameSystem;
class ScriptWatchdog;
class Sprite;
class Animation;
class Text;
class Line;
class Rect;
class Circle;
class Sound;
class Music;
class WindowRequests;
namespace sf {
class RenderTarget;
}

// The runtime of one script: its engine, its `system` object, everything the
// script made, and the input and time state it reads.
class Game : public QObject, public DrawContext {
    Q_OBJECT
public:
    // A call that runs this long is taken to be stuck and is ended with an error.
    static constexpr int defaultCallTimeLimitMs = 20000;

    explicit Game(const QString& path, int callTimeLimitMs = defaultCallTimeLimitMs,
                  QObject* parent = nullptr);
    ~Game() override;

    // Wraps a native object for scripts and makes it a global.
    void registerObject(const QString& name, QObject* object);

    // Entry calls; false when the script failed or returned false.
    bool callScript(const QString& callText);
    bool callInit(const QString& paramsText);
    bool callFrame(double dt);
    bool callRender(sf::RenderTarget* renderTarget);

    // The script file and every file it included: what a reload watches.
    const QStringList& sourceFiles() const { return script.files; }
    // The error the last entry call ended with: its message, where it was
    // raised and the stack, one per line; empty when it ended without one.
    QString lastError() const { return lastError_; }

    bool hasPendingScript() const { return !pendingScript_.isEmpty(); }
    QString pendingScript() const { return pendingScript_; }
    QScriptValue pendingParams() const { return pendingParams_; }
    // Its JSON text; empty when making it took too long (getters are script code).
    QString pendingParamsText();
    // Stops the script's timers and deletes everything it made; only ever
    // followed by the Game's destruction (see GameOwner).
    void releaseAll();

    // Input captured by the frame loop's polling step.
    void keyPressed(int code) { input.keyPressed(code); }
    void leftPressed() { input.leftPressed(); }
    void rightPressed() { input.rightPressed(); }
    void keyReleased(int code) { input.keyReleased(code); }
    void buttonPressed(InputState::Button button) { input.buttonPressed(button); }
    void buttonReleased(InputState::Button button) { input.buttonReleased(button); }
    void wheelMoved(float notches) { input.wheelMoved(notches); }
    void joystickButtonPressed(unsigned pad, unsigned button)
    {
        input.padButtonPressed(pad, button);
    }
    void focusLost() { input.focusLost(); }
    // The window the script's window requests go to; none answers with the
    // drawing area's size.
    void setWindowRequests(WindowRequests* requests) { window = requests; }
    void setMousePos(int x, int y);

    QScriptEngine* scriptEngine() const { return engine.get(); }
    // Every evaluation of this script's code goes through it.
    ScriptWatchdog& scriptGuard() const override { return *watchdog; }
    QGameSystem* systemObject() const { return system.get(); }
    // Where drawables draw; null until the first render step.
    sf::RenderTarget* renderTarget() override;
    void drawSprite(const sf::Sprite& picture) override;
    void flushSprites() override;
    // Sprites drawn in a row with one texture go to the target as one array
    // (on unless LEDGE_NO_BATCH=1); off, each is drawn at once on its own.
    void setBatching(bool on) { batch.setEnabled(on); }
    bool batching() const { return batch.enabled(); }
    const QList<Sprite*>& spriteList() const { return sprites; }

signals:
    void sendLog(QString msg);
    void sendTitle(QString title);
    // Follows the error line of sendLog with the file and line, in that
    // file, where the error was raised; line 0 (and the script's own file)
    // for an error of the call itself.
    void scriptError(QString text, QString file, int line);

public slots:
    QScriptValue loadSprite(QString filename);
    QScriptValue loadSpritePCX8bit(QString filename, bool usetransp);
    QScriptValue loadSpritePCX8bit(QString filename);
    QScriptValue loadSound(QString filename);
    QScriptValue loadText(QString fontname, QString text, int size);
    QScriptValue loadAnimationFromFiles(QScriptValue arr, int fps);
    QScriptValue loadAnimation(QString filename, int w, int h, int framecount, int fps);
    QScriptValue loadAnimation(QString filename, int framecount, int fps);
    QScriptValue loadAnimationPCX8bit(QString filename, int w, int h, int framecount, int fps,
                                      int usetransp);
    QScriptValue loadAnimationPCX8bit(QString filename, int w, int h, int framecount, int fps);
    QScriptValue loadAnimationPCX8bit(QString filename, int framecount, int fps, int usetransp);
    QScriptValue loadAnimationPCX8bit(QString filename, int framecount, int fps);
    QScriptValue createLine(int r, int g, int b);
    QScriptValue createRect(int r, int g, int b);
    bool isKeyDown(int keycode);
    bool isOneOfKeysDown(QScriptValue arr);
    QScriptValue getMousePos();
    bool isLeftButtonClicked();
    bool isRightButtonClicked();
    void setGameTitle(QString title);
    double getTotalTime();
    int getFPS();
    void resetTotalTime();
    void setBackgroundColor(int r, int g, int b);
    void goToScript(QString scriptname, QScriptValue params);
    bool isKeyHeld(int keycode);
    bool isKeyReleased(int keycode);
    bool isLeftButtonHeld();
    bool isRightButtonHeld();
    bool isMiddleButtonClicked();
    double getWheelDelta();
    bool isJoystickConnected(int i);
    double getJoystickAxis(int i, int axis);
    bool isJoystickButtonHeld(int i, int button);
    bool isJoystickButtonPressed(int i, int button);
    QScriptValue getWindowSize();
    void setFullscreen(bool on);
    QScriptValue loadMusic(QString filename);
    QScriptValue createLine(int r, int g, int b, int a);
    QScriptValue createRect(int r, int g, int b, int a);
    QScriptValue createCircle(int r, int g, int b);
    QScriptValue createCircle(int r, int g, int b, int a);
    void release(QScriptValue obj);
    // Without parameters the next Init gets no argument.
    void goToScript(QString scriptname);

private:
    // Wraps an object this Game owns; the engine never deletes it.
    QScriptValue wrap(QObject* object);
    // The input and time queries scripts make many times a frame.
    static direct::Slots directCalls();
    QScriptValue adoptAnimation(Animation* animation);
    // Says once that a new sound or music has no audio voice.
    void noteVoice(bool voiced, const QString& filename);
    // Takes object out of this Game's lists; false when it is not in one.
    bool forget(QObject* object);
    void load(const QString& path);
    // Where an uncaught error was raised and the stack, as lines of the log;
    // sets raisedAt.
    QStringList errorPlace(const QScriptValue& error);
    // Gives an error object the file and line where it was raised, in that
    // file, the first time it is asked (caught by the script or uncaught);
    // no file when the error was not raised in this script's text.
    SourceLine placeOf(QScriptValue error);
    // Every catch block of the script calls it with what it caught.
    static constexpr const char* catchHook = "__ledgeCaught";
    static QScriptValue placeCaught(QScriptContext* context, QScriptEngine*, void* game);
    // Ends an entry call that gave result: logs its error or a stop.
    bool ended(const QString& callText, const QScriptValue& result);
    template <typename T> QScriptValue adopt(QList<T*>& list, T* object)
    {
        list.append(object);
        return wrap(object);
    }

    // Destroyed after the engine that wraps it (members go in reverse order).
    std::unique_ptr<QGameSystem> system;
    std::unique_ptr<QScriptEngine> engine;
    std::unique_ptr<ScriptWatchdog> watchdog;
    // Script values from here on: they must not outlive their engine.
    QScriptValue mousePos;
    QScriptValue pendingParams_;
    // Compiled once: compiling the same text every frame is most of what an
    // idle frame costs. Frame's dt comes from a scope of its own.
    QScriptProgram frameCall{QStringLiteral("Frame(dt)")};
    QScriptProgram renderCall{QStringLiteral("Render()")};
    QString pendingScript_;
    ExpandedScript script;
    // Found at load, logged before the first entry call's own messages.
    QStringList loadMessages;
    QString lastError_;
    SourceLine raisedAt;
    QList<Sprite*> sprites;
    QList<Text*> texts;
    QList<Line*> lines;
    QList<Rect*> rects;
    QList<Circle*> circles;
    QList<Sound*> sounds;
    QList<Music*> musics;
    // The render target, and the sprites drawn but not yet on it.
    SpriteBatch batch;
    WindowRequests* window = nullptr;
    InputState input;
    FrameStats stats;
    sf::Color backgroundColor = sf::Color::Black;
    // Set while releaseAll deletes the script's objects.
    bool releasing = false;
};

// The one way a Game ends: everything its script made goes first
// (releaseAll), then the Game with its engine.
struct GameRelease {
    void operator()(Game* game) const;
};
using GameOwner = std::unique_ptr<Game, GameRelease>;
