// A minimal script: the background fades through colours until Escape.
var t = 0;

function Init(params) {
    game.setGameTitle("Ledge");
    system.writeMessage("Ledge started with " + params.length + " argument(s)");
}

function Frame(dt) {
    t += dt;
    if (game.isKeyDown(KEY_ESCAPE))
        return false;
    game.setBackgroundColor(128 + 127 * Math.sin(t), 128 + 127 * Math.sin(t * 1.3 + 2),
                            128 + 127 * Math.sin(t * 0.7 + 4));
}

function Render() {
}
