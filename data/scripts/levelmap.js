// Made by tools/make_assets.py from the same rows as levels/level1.map.
var LEVEL_ROWS = [
    "................",
    ".GGGG......GGGG.",
    "...GGGGGGGGGG...",
    "GGGG........GGGG",
    "..GGG.CCCC.GGG..",
    ".GGG..GGGG..GGG.",
    "GGG..GGGGGG..GGG",
    "W.GGGG.WW.GGGG.W",
    "WWWWWWWWWWWWWWWW"
];
