// Gem Ledges: the title screen. Shows the best score, starts the level on Enter.
$include<levelmap.js>
$include<scenery.js>

var title, shadow, info, prompt, help;
var hero, heroX = 120, heroDir = 1;
var panel, rule;
var best = 0, last = -1;
var bigGem, spin = 0, drawn = false;
var blink = 0;

function Init(params) {
    game.setGameTitle("Gem Ledges");
    setupScenery();

    // Back from a game over, the last score comes along.
    if (params && typeof params.lastScore == "number")
        last = params.lastScore;
    var saved = loadBestScore();
    if (saved !== null)
        best = saved;
    system.writeMessage("title screen, best score " + best);

    title = game.loadText(FONT, "GEM LEDGES", 64);
    title.setAlignCenter();
    title.setColor(255, 220, 80);
    shadow = game.loadText(FONT, "GEM LEDGES", 64);
    shadow.setAlignCenter();
    shadow.setColor(60, 30, 20);

    var lines = "Best score: " + best;
    if (last >= 0)
        lines = "Your score: " + last + "      " + lines;
    info = game.loadText(FONT, lines, 24);
    info.setAlignCenter();
    prompt = game.loadText(FONT, "Press Enter (or click the gem) to start", 26);
    prompt.setAlignCenter();
    prompt.setColor(255, 255, 255);
    help = game.loadText(FONT, "\u2190 \u2192  walk       \u2191 Space  jump up       \u2193  drop down / stop\\n" +
                               "F1  frame rate        F2  contact boxes        Esc  give up", 16);
    help.setAlignCenter();
    help.setColor(220, 230, 255);

    panel = game.createRect(30, 40, 70);
    panel.setBorderColor(255, 220, 80);
    panel.setLineWidth(3);
    rule = game.createLine(255, 220, 80);

    // The big gem on the title starts the game when clicked.
    bigGem = game.loadSprite("gem_0.png");
    bigGem.setScale(300);
    system.showCursor(true);

    hero = game.loadAnimation("hero.pcx", 4, 10);
    hero.setHotSpot(12, 39);
    hero.play();
}

function Frame(dt) {
    // isPointIn sees the gem where it was last drawn: leave a click latched
    // until the gem has been drawn once.
    var clicked = drawn && game.isLeftButtonClicked();
    if (game.isKeyDown(KEY_ENTER) ||
        (clicked && bigGem.isPointIn(game.getMousePos().x, game.getMousePos().y))) {
        game.goToScript("level", {lives: 3, best: best});
        return;
    }
    if (game.isKeyDown(KEY_ESCAPE))
        return false;
    dt = Math.min(dt, 0.05);
    blink += dt;
    spin += dt;
    bigGem.setAngle(Math.round(12 * Math.sin(spin * 2)));
    stepScenery(dt);

    // A hero strolls along the bottom ledge, turning at the walls.
    var plate = mapviewer.getPlateCount() - 2;
    var next = heroX + heroDir * 70 * dt;
    if (mapviewer.isNeedStop(heroX, next, plate, 10, false))
        heroDir = -heroDir;
    else
        heroX = next;
    hero.mirrorHorz(heroDir < 0);
}

function Render() {
    drawScenery();
    hero.renderTo(Math.round(heroX), mapviewer.getPlateY(mapviewer.getPlateCount() - 2));

    panel.drawTo(130, 100, 540, 370);
    shadow.printTo(403, 123);
    title.printTo(400, 120);
    rule.drawTo(180, 212, 620, 212);
    info.setColor(255, 255, 255);
    info.printTo(400, 226);
    bigGem.renderTo(400, 300);
    drawn = true;
    if (Math.floor(blink * 2) % 2 == 0)
        prompt.printTo(400, 340);
    help.printTo(400, 400);
}
