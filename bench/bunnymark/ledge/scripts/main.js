// Bunnymark: N copies of one small image move, bounce and are drawn every
// frame, one draw call each. Arguments: N, measured seconds, warm-up seconds.
// Markers go to the debug output; the harness reads the process's CPU time
// when it sees them.
var count = 0, seconds = 5, warmup = 1;
var xs = [], ys = [], vxs = [], vys = [];
var bunny;
var frames = 0, started = false, ended = false, startTotal = 0, endTotal = 0;
var seed = 12345;

// The same generator as the C++ and Lua versions (32-bit LCG); the product
// is taken in 16-bit halves so that doubles keep it exact.
function random() {
    var hi = Math.floor(seed / 65536), lo = seed % 65536;
    seed = (lo * 1103515245 + ((hi * 1103515245) % 65536) * 65536 + 12345) % 4294967296;
    return ((seed >>> 8) & 0xFFFF) / 65536;
}

function Init(params) {
    count = parseInt(params["1"]) || 0;
    if (params["2"] !== undefined) seconds = parseFloat(params["2"]);
    if (params["3"] !== undefined) warmup = parseFloat(params["3"]);
    bunny = game.loadSprite("bunny.png");
    for (var i = 0; i < count; ++i) {
        xs.push(random() * 800);
        ys.push(random() * 300);
        vxs.push(random() * 10 - 5);
        vys.push(random() * 10 - 5);
    }
}

function Frame(dt) {
    var total = game.getTotalTime();
    if (!started && total >= warmup) {
        started = true;
        startTotal = total;
        frames = 0;
        system.writeMessage("bench start");
    }
    if (started && !ended && total - startTotal >= seconds) {
        ended = true;
        endTotal = total;
        system.writeMessage("bench end frames=" + frames + " seconds=" + (total - startTotal));
    }
    if (ended && total - endTotal > 1)
        return false;
    ++frames;
    for (var i = 0; i < count; ++i) {
        xs[i] += vxs[i];
        ys[i] += vys[i];
        vys[i] += 0.75;
        if (xs[i] > 800) {
            vxs[i] = -vxs[i];
            xs[i] = 800;
        } else if (xs[i] < 0) {
            vxs[i] = -vxs[i];
            xs[i] = 0;
        }
        if (ys[i] > 600) {
            vys[i] *= -0.85;
            ys[i] = 600;
            if (vys[i] > -4) vys[i] = -10;
        } else if (ys[i] < 0) {
            vys[i] = 0;
            ys[i] = 0;
        }
    }
}

function Render() {
    for (var i = 0; i < count; ++i)
        bunny.renderTo(xs[i], ys[i]);
}
