#include "DemoScreens.h"

#include <QFileInfo>

#include <functional>

namespace {

using C = SpectrumCanvas;

// Stars and waves come from a fixed sequence, so every build draws the same screens.
class Dice
{
public:
    explicit Dice(unsigned seed)
        : m_state(seed)
    {
    }
    int next(int below)
    {
        m_state = m_state * 1103515245u + 12345u;
        return int((m_state >> 16) % unsigned(below));
    }

private:
    unsigned m_state;
};

void stars(C &canvas, int top, int bottom, int count, unsigned seed)
{
    Dice dice(seed);
    for (int i = 0; i < count; ++i)
        canvas.plot(dice.next(256), top + dice.next(bottom - top));
}

// Diagonal bands running up to the right, `width` pixels across, over the cells of the given
// rectangle. Each cell holds at most two bands, so one ink and one paper draw it.
void diagonalBands(C &canvas, int column, int row, int columns, int rows, int offset, int width,
                   const QList<C::Colour> &colours, C::Colour background)
{
    auto bandAt = [&](int x, int y) {
        return (x + y - offset) / width - ((x + y < offset) ? 1 : 0);
    };
    auto colourOf = [&](int band) {
        return band >= 0 && band < colours.size() ? colours.at(band) : background;
    };
    for (int r = row; r < row + rows; ++r) {
        for (int c = column; c < column + columns; ++c) {
            const int first = bandAt(c * 8, r * 8);
            const int last = bandAt(c * 8 + 7, r * 8 + 7);
            canvas.colourCells(c, r, 1, 1, colourOf(last), colourOf(first), true);
            for (int y = r * 8; y < r * 8 + 8; ++y) {
                for (int x = c * 8; x < c * 8 + 8; ++x)
                    canvas.plot(x, y, bandAt(x, y) != first);
            }
        }
    }
}

void centred(C &canvas, int y, const QString &text, int scale = 1)
{
    canvas.text((256 - C::textWidth(text, scale)) / 2, y, text, scale);
}

C rainbow()
{
    C canvas(C::White, C::Black, true);
    canvas.colourCells(0, 1, 32, 1, C::Yellow, C::Black, true);
    canvas.printAt(1, 9, QStringLiteral("RAINBOW STRIPE"));
    canvas.colourCells(0, 3, 32, 1, C::Cyan, C::Black, true);
    canvas.printAt(3, 4, QStringLiteral("Kivo Demo Software 1984"));
    // As the program prints it: PAPER VAL r$(c+1) with c = INT ((x+y)/2) mod 6.
    const QList<C::Colour> order = {C::Red, C::Yellow, C::Green, C::Cyan, C::Blue, C::Magenta};
    for (int y = 6; y <= 15; ++y) {
        for (int x = 0; x < 32; ++x)
            canvas.colourCells(x, y, 1, 1, C::White, order.at(((x + y) / 2) % 6), true);
    }
    canvas.printAt(20, 1, QStringLiteral("Press any key to shift, Q quits"));
    return canvas;
}

C rainbowTitle()
{
    C canvas(C::White, C::Black, true);
    canvas.colourCells(0, 2, 32, 6, C::Yellow, C::Black, true);
    centred(canvas, 22, QStringLiteral("RAINBOW"), 4);
    canvas.colourCells(0, 7, 32, 2, C::White, C::Black, true);
    centred(canvas, 58, QStringLiteral("STRIPE"), 2);
    canvas.colourCells(0, 11, 32, 1, C::Cyan, C::Black, true);
    centred(canvas, 89, QStringLiteral("A KIVO DEMO SOFTWARE PRODUCTION"));
    diagonalBands(canvas, 0, 13, 32, 11, 260, 16, {C::Red, C::Yellow, C::Green, C::Cyan}, C::Black);
    return canvas;
}

C numberNook()
{
    C canvas(C::Black, C::White);
    canvas.colourCells(9, 0, 13, 1, C::Black, C::Cyan);
    canvas.printAt(0, 9, QStringLiteral(" NUMBER NOOK "));
    canvas.printAt(2, 0, QStringLiteral("I am thinking of a number from"));
    canvas.printAt(3, 0, QStringLiteral("1 to 100. Can you find it?"));
    const QStringList guesses = {QStringLiteral("50 is too high."),
                                 QStringLiteral("25 is too low."), QStringLiteral("37 is too low."),
                                 QStringLiteral("43 is too high."),
                                 QStringLiteral("40 is too low.")};
    for (int i = 0; i < guesses.size(); ++i)
        canvas.printAt(5 + i, 0, guesses.at(i));
    canvas.colourCells(0, 10, 32, 1, C::Red, C::White);
    canvas.printAt(10, 0, QStringLiteral("Yes! It was 41. 6 tries."));
    canvas.colourCells(22, 12, 8, 9, C::Magenta, C::White, true);
    canvas.text(184, 100, QStringLiteral("?"), 10);
    canvas.colourCells(2, 14, 16, 5, C::Blue, C::White);
    canvas.text(20, 118, QStringLiteral("41"), 5);
    return canvas;
}

C lighthouse()
{
    C canvas(C::Yellow, C::Black, true);
    stars(canvas, 16, 140, 60, 7);
    canvas.colourCells(0, 0, 32, 3, C::White, C::Black, true);
    canvas.fillRect(0, 0, 256, 24, false);
    centred(canvas, 4, QStringLiteral("THE LIGHTHOUSE KEEPER"));
    canvas.colourCells(0, 2, 32, 1, C::Cyan, C::Black, true);
    centred(canvas, 15, QStringLiteral("KIVO DEMO SOFTWARE 1986"));

    // The beams, then the tower over them.
    canvas.line(128, 56, 0, 36);
    canvas.line(128, 56, 0, 76);
    canvas.line(128, 56, 255, 40);
    canvas.line(128, 56, 255, 72);
    canvas.fillRect(112, 40, 32, 32, false);
    canvas.colourCells(14, 6, 4, 2, C::Yellow, C::Black, true);
    canvas.fillRect(116, 44, 24, 20); // the lamp's glow
    canvas.fillRect(119, 47, 18, 14, false);
    canvas.circle(128, 54, 5, true);
    canvas.line(114, 44, 128, 36); // the roof
    canvas.line(142, 44, 128, 36);
    canvas.line(114, 44, 142, 44);
    for (int row = 8; row <= 18; ++row) {
        const bool red = (row / 2) % 2 == 0;
        canvas.colourCells(14, row, 4, 1, red ? C::Red : C::White, C::Black, true);
        const int y0 = row * 8;
        for (int y = y0; y < y0 + 8; ++y) {
            const int half = 8 + (y - 64) / 10; // the tower widens towards its foot
            canvas.fillRect(128 - half, y, 2 * half, 1);
        }
    }
    canvas.fillRect(126, 104, 4, 10, false); // the door... and a window
    canvas.fillRect(126, 80, 4, 5, false);
    // The sea.
    canvas.colourCells(0, 19, 32, 3, C::Cyan, C::Blue, false);
    canvas.colourCells(12, 19, 8, 1, C::White, C::Blue, true);
    canvas.fillRect(96, 152, 64, 5); // rocks at the foot
    Dice waves(3);
    for (int i = 0; i < 40; ++i) {
        const int x = waves.next(250);
        const int y = 158 + waves.next(16);
        canvas.line(x, y, x + 3, y - 2);
        canvas.line(x + 3, y - 2, x + 6, y);
    }
    return canvas;
}

C lighthouseLamp()
{
    C canvas(C::White, C::Blue);
    canvas.colourCells(0, 0, 32, 1, C::Yellow, C::Blue);
    canvas.printAt(0, 0, QStringLiteral("THE LIGHTHOUSE KEEPER"));
    const QStringList lines = {QStringLiteral("The lamp room. Wide windows look"),
                               QStringLiteral("over the grey sea. Your oil can"),
                               QStringLiteral("sloshes."), QString(),
                               QStringLiteral("> LIGHT LAMP")};
    for (int i = 0; i < lines.size(); ++i)
        canvas.printAt(2 + i, 0, lines.at(i));
    canvas.colourCells(0, 6, 32, 1, C::Cyan, C::Blue);
    canvas.colourCells(0, 8, 16, 1, C::Yellow, C::Blue, false, true);
    canvas.printAt(8, 0, QStringLiteral("The lamp blazes!"));
    canvas.printAt(10, 0, QStringLiteral("The ship sees the light and"));
    canvas.printAt(11, 0, QStringLiteral("sails safely home. Well done,"));
    canvas.printAt(12, 0, QStringLiteral("keeper!"));
    // A little ship on the horizon.
    canvas.colourCells(0, 17, 32, 5, C::White, C::Blue, true);
    canvas.line(0, 168, 255, 168);
    canvas.fillRect(176, 156, 40, 6);
    canvas.line(176, 156, 184, 162);
    canvas.fillRect(194, 140, 2, 16);
    canvas.line(196, 140, 208, 154);
    canvas.line(196, 154, 208, 154);
    return canvas;
}

C wormGarden()
{
    C canvas(C::Black, C::Green);
    canvas.colourCells(0, 0, 32, 1, C::White, C::Black);
    canvas.printAt(0, 0, QStringLiteral(" WORM GARDEN   QAOP   apples: 7"));
    const QList<QPair<int, int>> worm = {{6, 5},  {7, 5},  {8, 5},  {9, 5},   {10, 5},
                                         {10, 6}, {10, 7}, {10, 8}, {11, 8},  {12, 8},
                                         {13, 8}, {14, 8}, {14, 9}, {14, 10}, {15, 10}};
    for (const auto &[column, row] : worm) {
        canvas.colourCells(column, row, 1, 1, C::Magenta, C::Green);
        canvas.printAt(row, column, QStringLiteral("O"));
    }
    const QList<QPair<int, int>> apples = {{22, 4}, {18, 14}, {5, 17}};
    for (const auto &[column, row] : apples) {
        canvas.colourCells(column, row, 1, 1, C::Red, C::Green, true);
        canvas.printAt(row, column, QStringLiteral("*"));
    }
    // Flowers along the bottom of the garden.
    for (int column = 1; column < 32; column += 4) {
        canvas.colourCells(column, 20, 1, 2, column % 8 == 1 ? C::Yellow : C::White, C::Green,
                           true);
        canvas.circle(column * 8 + 4, 163, 2, true);
        canvas.line(column * 8 + 4, 166, column * 8 + 4, 175);
    }
    return canvas;
}

C quickFingers()
{
    C canvas(C::Blue, C::Yellow);
    canvas.colourCells(9, 1, 15, 1, C::White, C::Blue);
    canvas.printAt(1, 9, QStringLiteral(" QUICK FINGERS "));
    canvas.printAt(3, 1, QStringLiteral("Press the letter you see, fast!"));
    canvas.colourCells(14, 7, 3, 3, C::Red, C::White);
    canvas.text(117, 59, QStringLiteral("K"), 2);
    canvas.printAt(11, 4, QStringLiteral("Round 7 of 10   Score 6"));
    const QStringList keys = {QStringLiteral("1234567890"), QStringLiteral("QWERTYUIOP"),
                              QStringLiteral("ASDFGHJKL"), QStringLiteral("ZXCVBNM")};
    for (int row = 0; row < keys.size(); ++row) {
        for (int i = 0; i < keys.at(row).size(); ++i) {
            const int x = 8 + row * 4 + i * 24;
            const int y = 108 + row * 20;
            const QChar key = keys.at(row).at(i);
            if (key == u'K')
                canvas.colourCells(x / 8, y / 8, 3, 3, C::White, C::Red);
            canvas.line(x, y, x + 21, y);
            canvas.line(x, y + 15, x + 21, y + 15);
            canvas.line(x, y, x, y + 15);
            canvas.line(x + 21, y, x + 21, y + 15);
            canvas.text(x + 8, y + 4, QString(key));
        }
    }
    return canvas;
}

void die(C &canvas, int column, int value)
{
    canvas.colourCells(column, 7, 7, 7, C::Black, C::White, true);
    const int cx = column * 8 + 28;
    const int cy = 84;
    auto pip = [&](int dx, int dy) { canvas.circle(cx + dx, cy + dy, 4, true); };
    if (value % 2 == 1)
        pip(0, 0);
    if (value > 1) {
        pip(-15, -15);
        pip(15, 15);
    }
    if (value > 3) {
        pip(15, -15);
        pip(-15, 15);
    }
    if (value == 6) {
        pip(-15, 0);
        pip(15, 0);
    }
}

C diceTower(int first, int second)
{
    C canvas(C::White, C::Red);
    canvas.colourCells(11, 1, 12, 1, C::White, C::Black);
    canvas.printAt(1, 11, QStringLiteral(" DICE TOWER "));
    die(canvas, 5, first);
    die(canvas, 20, second);
    canvas.printAt(16, 10, QStringLiteral("Total: %1").arg(first + second));
    if (first == second) {
        canvas.colourCells(10, 17, 8, 1, C::White, C::Red, false, true);
        canvas.printAt(17, 10, QStringLiteral("Doubles!"));
    }
    canvas.printAt(20, 1, QStringLiteral("Any key rolls the dice, Q quits"));
    return canvas;
}

C moonLander()
{
    C canvas(C::White, C::Black);
    stars(canvas, 40, 160, 45, 11);
    canvas.colourCells(0, 0, 32, 1, C::Cyan, C::Black);
    canvas.fillRect(0, 0, 256, 32, false);
    canvas.printAt(0, 8, QStringLiteral("MOONLIGHT LANDER"));
    canvas.printAt(2, 0, QStringLiteral("Land softly: hold a key 1-9 to"));
    canvas.printAt(3, 0, QStringLiteral("burn fuel, 0 to drift."));
    canvas.fillRect(0, 48, 100, 24, false);
    canvas.printAt(6, 2, QStringLiteral("Height 212"));
    canvas.printAt(7, 2, QStringLiteral("Speed  7.4"));
    canvas.printAt(8, 2, QStringLiteral("Fuel   64"));
    // The Earth, high over the Moon.
    canvas.colourCells(26, 5, 4, 4, C::Cyan, C::Black, true);
    canvas.fillRect(208, 40, 32, 32, false);
    canvas.circle(224, 56, 12, false);
    canvas.line(216, 50, 226, 48);
    canvas.line(220, 60, 232, 62);
    canvas.fillRect(184, 112, 24, 8, false);
    canvas.colourCells(23, 14, 3, 1, C::Yellow, C::Black, true);
    canvas.printAt(14, 23, QStringLiteral("/=\\"));
    canvas.colourCells(24, 15, 1, 1, C::Red, C::Black, true);
    canvas.fillRect(192, 120, 8, 8, false);
    canvas.printAt(15, 24, QStringLiteral("V"));
    canvas.colourCells(0, 21, 32, 1, C::Black, C::White);
    canvas.fillRect(0, 168, 256, 8, false);
    return canvas;
}

C doodler()
{
    C canvas(C::Black, C::White);
    canvas.colourCells(0, 0, 32, 1, C::White, C::Blue);
    canvas.printAt(0, 0, QStringLiteral(" DOT DOODLER  QAOP draw  0-6 ink"));
    // PLOT INK c sets the ink of the cell it lands in; the picture keeps to whole cells.
    canvas.colourCells(4, 9, 10, 5, C::Red, C::White);
    canvas.line(36, 112, 76, 76);
    canvas.line(76, 76, 116, 112);
    canvas.line(36, 112, 116, 112);
    for (int x = 44; x <= 108; x += 4)
        canvas.line(x, 111, 76, 80);
    canvas.line(44, 112, 44, 160);
    canvas.line(108, 112, 108, 160);
    canvas.line(44, 160, 108, 160);
    canvas.fillRect(68, 136, 14, 24);
    canvas.fillRect(52, 122, 10, 10);
    canvas.fillRect(90, 122, 10, 10);
    canvas.colourCells(22, 3, 6, 6, C::Magenta, C::White);
    canvas.circle(200, 44, 12, false);
    canvas.circle(200, 44, 8, true);
    for (int i = 0; i < 8; ++i) {
        static const int dx[8] = {20, 14, 0, -14, -20, -14, 0, 14};
        static const int dy[8] = {0, 14, 20, 14, 0, -14, -20, -14};
        canvas.line(200 + dx[i] * 3 / 4, 44 + dy[i] * 3 / 4, 200 + dx[i], 44 + dy[i]);
    }
    canvas.colourCells(17, 12, 6, 9, C::Green, C::White);
    canvas.circle(160, 112, 16, false);
    canvas.circle(160, 112, 10, false);
    canvas.line(160, 128, 160, 164);
    canvas.line(156, 164, 164, 164);
    canvas.colourCells(0, 20, 32, 2, C::Blue, C::White);
    canvas.line(0, 166, 255, 166);
    return canvas;
}

using Painter = std::function<C()>;

const QList<QPair<QString, Painter>> &screens()
{
    static const QList<QPair<QString, Painter>> kScreens = {
        {QStringLiteral("rainbow"), rainbow},
        {QStringLiteral("rainbow-title"), rainbowTitle},
        {QStringLiteral("numbernook"), numberNook},
        {QStringLiteral("lighthouse"), lighthouse},
        {QStringLiteral("lighthouse-lamp"), lighthouseLamp},
        {QStringLiteral("wormgarden"), wormGarden},
        {QStringLiteral("quickfingers"), quickFingers},
        {QStringLiteral("dicetower"), [] { return diceTower(3, 5); }},
        {QStringLiteral("dicetower-doubles"), [] { return diceTower(6, 6); }},
        {QStringLiteral("moonlander"), moonLander},
        {QStringLiteral("doodler"), doodler},
    };
    return kScreens;
}

} // namespace

QStringList demoScreenNames()
{
    QStringList names;
    for (const auto &screen : screens())
        names.append(screen.first);
    return names;
}

std::optional<SpectrumCanvas> drawDemoScreen(const QString &name)
{
    for (const auto &screen : screens()) {
        if (screen.first == QFileInfo(name).completeBaseName())
            return screen.second();
    }
    return std::nullopt;
}
