// The bunnymark scene on the graphics library alone, with the window set up
// as the ledge binary sets up its own: the floor a runner on it can reach.
//
//   sfml_bunnymark N SECONDS WARMUP [IMAGE]  run the scene (with IMAGE instead of
//                                            the bunny), markers on stderr
//   sfml_bunnymark --write-image PATH [W H]  write the bunny image the three runners
//                                            share, or a plain W x H one
#include <SFML/Graphics.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned BunnyWidth = 26;
constexpr unsigned BunnyHeight = 37;

// A rounded body with two ears on a transparent ground.
sf::Image bunnyImage()
{
    sf::Image image;
    image.create(BunnyWidth, BunnyHeight, sf::Color::Transparent);
    for (unsigned y = 0; y < BunnyHeight; ++y) {
        for (unsigned x = 0; x < BunnyWidth; ++x) {
            const int dx = int(x) - 13;
            const int dy = int(y) - 26;
            const bool body = dx * dx * 121 + dy * dy * 144 <= 121 * 144;
            const bool ear = y < 16 && ((x >= 6 && x <= 9) || (x >= 16 && x <= 19));
            if (body || ear)
                image.setPixel(x, y, sf::Color(255, 255, 255, 255));
            if (body && dy == -3 && (dx == -4 || dx == 4))
                image.setPixel(x, y, sf::Color(40, 40, 40, 255));
        }
    }
    return image;
}

struct Bunny {
    float x, y, vx, vy;
};

// The same generator and start state as the script and Lua versions.
struct Lcg {
    std::uint32_t state = 12345;
    float next()
    {
        state = state * 1103515245u + 12345u;
        return float((state >> 8) & 0xFFFF) / 65536.0f;
    }
};

void step(std::vector<Bunny>& bunnies)
{
    const float maxX = 800.0f;
    const float maxY = 600.0f;
    for (Bunny& b : bunnies) {
        b.x += b.vx;
        b.y += b.vy;
        b.vy += 0.75f;
        if (b.x > maxX) {
            b.vx = -b.vx;
            b.x = maxX;
        } else if (b.x < 0.0f) {
            b.vx = -b.vx;
            b.x = 0.0f;
        }
        if (b.y > maxY) {
            b.vy *= -0.85f;
            b.y = maxY;
            if (b.vy > -4.0f)
                b.vy = -10.0f;
        } else if (b.y < 0.0f) {
            b.vy = 0.0f;
            b.y = 0.0f;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if ((argc == 3 || argc == 5) && std::strcmp(argv[1], "--write-image") == 0) {
        sf::Image image = bunnyImage();
        // A tiny image leaves the rasteriser little to fill, so what the
        // runners themselves cost per draw shows.
        if (argc == 5)
            image.create(unsigned(std::atoi(argv[3])), unsigned(std::atoi(argv[4])),
                         sf::Color(255, 255, 255, 255));
        return image.saveToFile(argv[2]) ? 0 : 1;
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s N SECONDS WARMUP [IMAGE] | --write-image PATH [W H]\n",
                     argv[0]);
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const double seconds = std::atof(argv[2]);
    const double warmup = std::atof(argv[3]);

    sf::RenderWindow window(sf::VideoMode(800, 600, 32), "MainWindow", sf::Style::Default,
                            sf::ContextSettings());
    window.setVerticalSyncEnabled(true);
    window.setFramerateLimit(60);

    sf::Texture texture;
    if (argc > 4 ? !texture.loadFromFile(argv[4]) : !texture.loadFromImage(bunnyImage()))
        return 1;
    texture.setSmooth(true);
    sf::Sprite sprite(texture);
    // The hot spot in the middle, as ledge puts it.
    sprite.setOrigin(float(texture.getSize().x / 2), float(texture.getSize().y / 2));

    Lcg random;
    std::vector<Bunny> bunnies(std::size_t(count > 0 ? count : 0));
    for (Bunny& b : bunnies)
        b = {random.next() * 800.0f, random.next() * 300.0f, random.next() * 10.0f - 5.0f,
             random.next() * 10.0f - 5.0f};

    sf::Clock clock;
    double previous = clock.getElapsedTime().asSeconds();
    double total = 0.0;
    double startTotal = 0.0;
    long frames = 0;
    bool started = false;
    bool ended = false;
    double endTotal = 0.0;
    sf::Event event;
    while (window.isOpen()) {
        while (window.pollEvent(event)) {
            if (event.type == sf::Event::Closed)
                window.close();
        }
        const double now = clock.getElapsedTime().asSeconds();
        total += now - previous;
        previous = now;
        if (!started && total >= warmup) {
            started = true;
            startTotal = total;
            frames = 0;
            std::fprintf(stderr, "bench start\n");
        }
        if (started && !ended && total - startTotal >= seconds) {
            ended = true;
            endTotal = total;
            std::fprintf(stderr, "bench end frames=%ld seconds=%.4f\n", frames, total - startTotal);
        }
        // Runs on a little so the harness can read the process's CPU time.
        if (ended && total - endTotal > 1.0)
            break;
        ++frames;
        step(bunnies);

        window.clear(sf::Color::Black);
        for (const Bunny& b : bunnies) {
            sprite.setPosition(float(int(b.x)), float(int(b.y)));
            window.draw(sprite);
        }
        window.display();
    }
    return 0;
}
