// Sky, clouds, the walls' stone bodies, the map and the best score: shared by
// every screen.
// Scripts include levelmap.js first (an included file's own includes are not
// expanded), then this file, and call setupScenery() from Init.

var FONT = "DejaVuSans.ttf";
var TILE_W = 50, ROW_PITCH = 65, MAP_TOP = 40;

var sky, rock, cloudSprite;
var clouds = [];

function setupScenery() {
    game.setBackgroundColor(110, 170, 230);
    mapviewer.loadMapFromFile("levels/level1.map");
    sky = game.createRect(0, 0, 0);
    rock = game.loadSpritePCX8bit("rock.pcx");
    rock.setHotSpot(0, 0);
    cloudSprite = game.loadSprite("cloud.png");
    cloudSprite.setAlpha(220);
    for (var i = 0; i < 4; i++)
        clouds.push({x: i * 230 + 60, y: 60 + (i % 2) * 90 + i * 12, speed: 8 + i * 3, scale: 70 + i * 15});
}

function stepScenery(dt) {
    for (var i = 0; i < clouds.length; i++) {
        var c = clouds[i];
        c.x += c.speed * dt;
        if (c.x > 870)
            c.x = -70;
    }
}

function drawSky() {
    // Bands from a deep blue at the top to a pale haze above the ground.
    for (var i = 0; i < 30; i++) {
        var k = i / 29;
        sky.setFillColor(70 + 110 * k, 130 + 85 * k, 215 + 25 * k);
        sky.drawTo(0, i * 20, 800, 20);
    }
    for (var j = 0; j < clouds.length; j++) {
        cloudSprite.setScale(clouds[j].scale);
        cloudSprite.renderTo(Math.round(clouds[j].x), clouds[j].y);
    }
}

// The map draws a wall as a grass top with a stone below it; the stone body
// between them is drawn here, under the map.
function drawWallBodies() {
    for (var r = 0; r < LEVEL_ROWS.length; r++)
        for (var c = 0; c < LEVEL_ROWS[r].length; c++)
            if (LEVEL_ROWS[r].charAt(c) == "W")
                rock.renderTo(c * TILE_W, MAP_TOP + r * ROW_PITCH + 10);
}

function drawScenery() {
    drawSky();
    drawWallBodies();
    mapviewer.render();
}

// The best score of an earlier game, or null. A damaged best.json counts as
// none, so the next game over writes a good one over it.
function loadBestScore() {
    try {
        var saved = system.loadObjectFromAppData("best.json");
        if (saved && typeof saved.score == "number" && isFinite(saved.score))
            return saved.score;
    } catch (e) {
    }
    return null;
}
