// Gem Ledges: game over. Saves a new best score and goes back to the title.
$include<levelmap.js>
$include<scenery.js>

var heading, scoreText, note, prompt, panel;
var score = 0, wait = 0;

function Init(params) {
    setupScenery();
    if (params && typeof params.score == "number")
        score = params.score;

    var saved = loadBestScore();
    var best = saved === null ? -1 : saved;
    var beaten = score > best;
    if (beaten)
        system.saveObjectToAppData("best.json", {score: score});

    heading = game.loadText(FONT, "GAME OVER", 56);
    heading.setAlignCenter();
    heading.setColor(255, 90, 90);
    scoreText = game.loadText(FONT, "Score: " + score, 30);
    scoreText.setAlignCenter();
    note = game.loadText(FONT, beaten ? "A new best score!" : "Best score: " + best, 22);
    note.setAlignCenter();
    note.setColor(255, 220, 80);
    prompt = game.loadText(FONT, "Press Enter", 22);
    prompt.setAlignCenter();
    panel = game.createRect(30, 20, 40);
    panel.setBorderColor(255, 90, 90);
    panel.setLineWidth(3);
    system.writeMessage("game over with score " + score + (beaten ? ", a new best" : ""));
}

function Frame(dt) {
    wait += dt;
    stepScenery(Math.min(dt, 0.05));
    // A moment's pause, so a key still held from the level does not skip this.
    if (wait > 0.6 && game.isOneOfKeysDown([KEY_ENTER, KEY_ESCAPE, KEY_SPACE]))
        game.goToScript("main", {lastScore: score});
}

function Render() {
    drawScenery();
    panel.drawTo(180, 170, 440, 240);
    heading.printTo(400, 190);
    scoreText.printTo(400, 270);
    note.printTo(400, 315);
    if (Math.floor(wait * 2) % 2 == 0)
        prompt.printTo(400, 360);
}
