// Gem Ledges: the level. Collect gems, avoid beetles, keep your three lives.
$include<levelmap.js>
$include<scenery.js>

var WALK_SPEED = 150;      // pixels per second
var HERO_HALF = 10;        // half the hero's width, for isNeedStop
var BEETLE_HALF = 11;
var JUMP_TIME = 0.42;      // seconds for a jump to the plate above
var GRAVITY = 1500;        // pixels per second squared when dropping
var GEM_LIFE = 12;         // seconds before an untaken gem vanishes
var MAX_GEMS = 5, MAX_BEETLES = 5;

var hero = {x: 75, plate: 0, y: 0, dir: 0, face: 1, state: "ground",
            t: 0, fromY: 0, toPlate: 0, vy: 0, hurt: 0};
var heroAnim;
var gems = [], beetles = [];
var lives = 3, score = 0, best = 0, elapsed = 0, over = false;
var showFps = false, showBoxes = false, fullscreen = false, musicVolume = 60;
var LEFT_KEYS = [KEY_LEFT, KEY_A], RIGHT_KEYS = [KEY_RIGHT, KEY_D];
var UP_KEYS = [KEY_UP, KEY_W, KEY_SPACE], DOWN_KEYS = [KEY_DOWN, KEY_S];
var hudScore = -1, hudSecond = -1, hudFps = -1;

var sJump, sPick, sHit, music;
var hudBar, hudLine, scoreText, bestText, fpsText, msgText, msgShade, heart, greyHeart;
var message = "", messageTime = 0;

function toGold(p) {
    var v = Math.max(p.r, p.g, p.b);
    return {r: Math.min(255, v + 40), g: Math.round(v * 0.8), b: Math.round(v * 0.2), a: p.a};
}

function greyscale(p) {
    var v = Math.round(0.3 * p.r + 0.59 * p.g + 0.11 * p.b);
    return {r: v, g: v, b: v, a: p.a};
}

function Init(params) {
    setupScenery();
    if (params) {
        if (typeof params.lives == "number") lives = params.lives;
        if (typeof params.best == "number") best = params.best;
    }

    heroAnim = game.loadAnimation("hero.pcx", 4, 10);
    heroAnim.setHotSpot(12, 39);
    // Beetles are tested against the hero's box; gems use circles.
    heroAnim.setContactModelBox();

    // The first gem of the pool is a rare gold one, recoloured from the green.
    for (var i = 0; i < MAX_GEMS; i++) {
        var g = game.loadAnimationFromFiles(["gem_0.png", "gem_1.png", "gem_2.png", "gem_3.png"], 8);
        g.setContactModelCircle();
        g.setTag("points", i == 0 ? 50 : 10);
        if (i == 0)
            g.convertPixels("toGold");
        g.play();
        gems.push({sprite: g, active: false, x: 0, plate: 0, age: 0});
    }
    for (var j = 0; j < MAX_BEETLES; j++) {
        var b = game.loadAnimationPCX8bit("beetle.pcx", 2, 6, 1);
        b.setHotSpot(13, 17);
        b.play();
        beetles.push({sprite: b, active: false, x: 0, plate: 0, dir: 1, speed: 60, age: 0});
    }

    sJump = game.loadSound("jump.wav");
    sPick = game.loadSound("pickup.wav");
    sHit = game.loadSound("hit.wav");
    // Streamed from its file rather than held in memory.
    music = game.loadMusic("music.wav");
    music.setLoop(true);
    music.setVolume(musicVolume);
    music.play();

    hudBar = game.createRect(24, 28, 44);
    hudBar.setBorderColor(255, 220, 80);
    hudBar.setLineWidth(-2);
    hudLine = game.createLine(255, 220, 80);
    scoreText = game.loadText(FONT, "", 20);
    bestText = game.loadText(FONT, "", 16);
    bestText.setColor(200, 200, 220);
    fpsText = game.loadText(FONT, "", 16);
    fpsText.setColor(140, 255, 140);
    msgText = game.loadText(FONT, "", 28);
    msgText.setAlignCenter();
    msgShade = game.createRect(0, 0, 0, 120);
    heart = game.loadSpritePCX8bit("heart.pcx", true);
    heart.setHotSpot(0, 0);
    greyHeart = game.loadSpritePCX8bit("heart.pcx", true);
    greyHeart.setHotSpot(0, 0);
    greyHeart.convertPixels("greyscale");

    system.showCursor(false);
    hero.plate = mapviewer.getPlateCount() - 2;
    hero.y = mapviewer.getPlateY(hero.plate);
    say("Collect the gems!", 2.5);

    system.setInterval("spawnGem()", 1800);
    system.setInterval("spawnBeetle()", 3500);
    system.setTimeout("spawnGem(); spawnGem()", 300);
    system.writeMessage("level started with " + lives + " lives");
}

function say(text, seconds) {
    message = text;
    messageTime = seconds;
    msgText.setText(text);
}

// A spawn point away from the hero that no other gem or beetle holds.
function freeSpawnPoint() {
    for (var tries = 0; tries < 6; tries++) {
        var p = mapviewer.genSpawnPoint(hero.x, hero.plate);
        if (typeof p.x != "number")
            return null;
        var taken = false;
        var all = gems.concat(beetles);
        for (var i = 0; i < all.length; i++)
            if (all[i].active && all[i].plate == p.y && Math.abs(all[i].x - p.x) < 40)
                taken = true;
        if (!taken)
            return p;
    }
    return null;
}

function spawnGem() {
    if (over) return;
    // Gold now and then: the search starts at the gold gem one time in six.
    for (var i = Math.random() < 1 / 6 ? 0 : 1; i < gems.length; i++) {
        if (gems[i].active) continue;
        var p = freeSpawnPoint();
        if (!p) return;
        gems[i].active = true;
        gems[i].x = p.x;
        gems[i].plate = p.y;
        gems[i].age = 0;
        return;
    }
}

function spawnBeetle() {
    if (over) return;
    // One beetle more for every 20 seconds survived.
    var allowed = Math.min(MAX_BEETLES, 1 + Math.floor(elapsed / 20));
    var active = 0;
    for (var i = 0; i < beetles.length; i++)
        if (beetles[i].active) active++;
    if (active >= allowed) return;
    for (var j = 0; j < beetles.length; j++) {
        var b = beetles[j];
        if (b.active) continue;
        var p = freeSpawnPoint();
        if (!p) return;
        b.active = true;
        b.x = p.x;
        b.plate = p.y;
        b.dir = Math.random() < 0.5 ? -1 : 1;
        b.speed = Math.min(140, 50 + Math.random() * 40 + elapsed);
        b.age = 0;
        return;
    }
}

function gameOver() {
    game.goToScript("gameover", {score: score, best: best});
}

function loseLife() {
    lives--;
    sHit.play();
    hero.hurt = 2;
    if (lives <= 0) {
        over = true;
        music.stop();
        say("Game over", 3);
        system.setTimeout("gameOver()", 1500);
    } else {
        say("Ouch! " + lives + (lives == 1 ? " life" : " lives") + " left", 1.5);
    }
}

function jumpUp() {
    sJump.play();
    hero.state = "jump";
    hero.t = 0;
    hero.fromY = hero.y;
    hero.toPlate = mapviewer.canJumpTo(hero.x, hero.plate - 1) ? hero.plate - 1 : hero.plate;
}

function dropDown() {
    for (var p = hero.plate + 1; p < mapviewer.getPlateCount(); p++) {
        if (mapviewer.canJumpTo(hero.x, p)) {
            hero.state = "fall";
            hero.toPlate = p;
            hero.vy = 0;
            return true;
        }
    }
    return false;
}

// F2 outlines what the contact tests see.
function setShowBoxes(on) {
    showBoxes = on;
    heroAnim.setBordered(on);
    for (var i = 0; i < gems.length; i++)
        gems[i].sprite.setBordered(on);
    for (var j = 0; j < beetles.length; j++)
        beetles[j].sprite.setBordered(on);
}

function handleKeys() {
    if (game.isKeyDown(KEY_F1))
        showFps = !showFps;
    if (game.isKeyDown(KEY_F2))
        setShowBoxes(!showBoxes);
    if (game.isKeyDown(KEY_F11))
        game.setFullscreen(fullscreen = !fullscreen);
    // The wheel sets the music's volume.
    var notches = game.getWheelDelta();
    if (notches != 0) {
        musicVolume = Math.max(0, Math.min(100, musicVolume + 10 * notches));
        music.setVolume(musicVolume);
        say("Music " + Math.round(musicVolume) + " %", 1);
    }
    if (game.isKeyDown(KEY_ESCAPE) && !over) {
        over = true;
        gameOver();
        return;
    }
    if (over || hero.state != "ground")
        return;
    // The hero walks while a direction is held: keys, the first gamepad's
    // stick or its direction pad.
    var stick = game.getJoystickAxis(0, 0) + game.getJoystickAxis(0, 6);
    var left = heldOneOf(LEFT_KEYS) || stick < -30;
    var right = heldOneOf(RIGHT_KEYS) || stick > 30;
    hero.dir = left == right ? 0 : (left ? -1 : 1);
    if (hero.dir != 0)
        hero.face = hero.dir;
    if (game.isOneOfKeysDown(UP_KEYS) || game.isJoystickButtonPressed(0, 0))
        jumpUp();
    else if (game.isOneOfKeysDown(DOWN_KEYS) || game.isJoystickButtonPressed(0, 1))
        dropDown();
}

function heldOneOf(keys) {
    for (var i = 0; i < keys.length; i++)
        if (game.isKeyHeld(keys[i]))
            return true;
    return false;
}

function stepHero(dt) {
    if (hero.state == "ground" && hero.dir != 0) {
        var next = hero.x + hero.dir * WALK_SPEED * dt;
        if (mapviewer.isNeedStop(hero.x, next, hero.plate, HERO_HALF, false))
            hero.dir = 0;
        else
            hero.x = next;
    } else if (hero.state == "jump") {
        hero.t += dt;
        var s = Math.min(1, hero.t / JUMP_TIME);
        var toY = mapviewer.getPlateY(hero.toPlate);
        hero.y = hero.fromY + (toY - hero.fromY) * s - 40 * 4 * s * (1 - s);
        if (s >= 1) {
            hero.state = "ground";
            hero.plate = hero.toPlate;
            hero.y = toY;
        }
    } else if (hero.state == "fall") {
        hero.vy += GRAVITY * dt;
        hero.y += hero.vy * dt;
        var landY = mapviewer.getPlateY(hero.toPlate);
        if (hero.y >= landY) {
            hero.state = "ground";
            hero.plate = hero.toPlate;
            hero.y = landY;
        }
    }
    if (hero.hurt > 0)
        hero.hurt = Math.max(0, hero.hurt - dt);

    if (hero.state == "ground" && hero.dir != 0) {
        if (!heroAnim.isPlayed()) heroAnim.play();
    } else if (heroAnim.isPlayed()) {
        heroAnim.stop();
    }
    heroAnim.mirrorHorz(hero.face < 0);
    heroAnim.setAlpha(hero.hurt > 0 && Math.floor(hero.hurt * 10) % 2 == 0 ? 90 : 255);
}

function stepBeetles(dt) {
    for (var i = 0; i < beetles.length; i++) {
        var b = beetles[i];
        if (!b.active) continue;
        b.age += dt;
        var next = b.x + b.dir * b.speed * dt;
        if (mapviewer.isNeedStop(b.x, next, b.plate, BEETLE_HALF, false))
            b.dir = -b.dir;
        else
            b.x = next;
        b.sprite.mirrorHorz(b.dir < 0);
        // A sprite reused from the pool still sits where it was last drawn, so
        // a fresh beetle waits a moment before it can bite.
        if (!over && hero.hurt == 0 && b.age > 0.3 && heroAnim.isContactWith(b.sprite))
            loseLife();
    }
}

function stepGems(dt) {
    for (var i = 0; i < gems.length; i++) {
        var g = gems[i];
        if (!g.active) continue;
        g.age += dt;
        if (g.age > GEM_LIFE) {
            g.active = false;
        } else if (!over && g.age > 0.1 && g.sprite.isContactWith(heroAnim)) {
            g.active = false;
            score += g.sprite.getTag("points");
            sPick.play();
        }
    }
}

function Frame(dt) {
    dt = Math.min(dt, 0.05);
    elapsed += dt;
    stepScenery(dt);
    handleKeys();
    if (!over) {
        stepHero(dt);
        stepBeetles(dt);
        stepGems(dt);
    }
    if (messageTime > 0)
        messageTime -= dt;
}

function drawHud() {
    hudBar.drawTo(0, 0, 800, 38);
    hudLine.drawTo(0, 38, 800, 38);
    // Texts change only when their numbers do.
    var second = Math.floor(elapsed);
    if (score != hudScore || second != hudSecond) {
        hudScore = score;
        hudSecond = second;
        scoreText.setText("Score " + score);
        bestText.setText("Best " + Math.max(best, score) + "    Time " + second + " s");
    }
    scoreText.printTo(14, 7);
    for (var i = 0; i < 3; i++)
        (i < lives ? heart : greyHeart).renderTo(160 + i * 22, 11);
    bestText.printTo(250, 10);
    if (showFps) {
        if (game.getFPS() != hudFps) {
            hudFps = game.getFPS();
            fpsText.setText("FPS " + hudFps);
        }
        fpsText.printTo(790 - fpsText.getWidth(), 10);
    }
}

function Render() {
    drawScenery();
    for (var i = 0; i < gems.length; i++) {
        var g = gems[i];
        // Gems blink in their last three seconds.
        if (g.active && (g.age < GEM_LIFE - 3 || Math.floor(g.age * 6) % 2 == 0))
            g.sprite.renderTo(g.x, mapviewer.getPlateY(g.plate) - 16 + Math.round(3 * Math.sin(g.age * 4)));
    }
    for (var j = 0; j < beetles.length; j++)
        if (beetles[j].active)
            beetles[j].sprite.renderTo(Math.round(beetles[j].x), mapviewer.getPlateY(beetles[j].plate));
    heroAnim.renderTo(Math.round(hero.x), Math.round(hero.y));
    drawHud();
    if (messageTime > 0) {
        var w = msgText.getWidth(), h = msgText.getHeight();
        msgShade.drawTo(400 - w / 2 - 12, 256, w + 24, h + 10);
        msgText.setColor(40, 20, 20);
        msgText.printTo(402, 262);
        msgText.setColor(255, 240, 200);
        msgText.printTo(400, 260);
    }
}
