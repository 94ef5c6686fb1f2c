#!/usr/bin/env python3
"""Draws the two shipped levels. Run from the repository root; rewrites levels/*.txt."""

W = H = 64


def blank():
    g = [['.'] * W for _ in range(H)]
    for i in range(W):
        g[0][i] = g[H - 1][i] = '#'
        g[i][0] = g[i][W - 1] = '#'
    return g


def wall_h(g, y, x0, x1, gaps=()):
    for x in range(x0, x1 + 1):
        if x not in gaps:
            g[y][x] = '#'


def wall_v(g, x, y0, y1, gaps=()):
    for y in range(y0, y1 + 1):
        if y not in gaps:
            g[y][x] = '#'


def box(g, x0, y0, x1, y1, gaps=()):
    """A room outline; gaps are (x, y) door cells."""
    for x in range(x0, x1 + 1):
        for y in (y0, y1):
            if (x, y) not in gaps:
                g[y][x] = '#'
    for y in range(y0, y1 + 1):
        for x in (x0, x1):
            if (x, y) not in gaps:
                g[y][x] = '#'


def put(g, x, y, c):
    assert g[y][x] == '.', (x, y, c, g[y][x])
    g[y][x] = c


def testing_grounds():
    g = blank()
    # The start: a walled yard on the west, opening east onto a long lane.
    box(g, 1, 26, 12, 38, gaps=[(12, 31), (12, 32), (12, 33)])
    put(g, 3, 32, 'P')
    put(g, 8, 32, 'S')            # the first spell lies straight ahead of the start
    put(g, 2, 27, 'T')
    put(g, 2, 37, 'T')
    put(g, 10, 28, 'M')
    put(g, 10, 36, 'Y')
    # The lane east, lined with trees.
    for x in range(16, 40, 4):
        put(g, x, 29, 'o')
        put(g, x, 35, 'o')
    put(g, 22, 32, 'f')
    put(g, 30, 31, 'w')
    put(g, 34, 33, 't')
    # North garden: the HERBA scroll behind a hedge, a fire pit with health beside it.
    wall_h(g, 20, 14, 40, gaps=range(25, 29))
    put(g, 20, 10, 'B')
    put(g, 30, 8, 'F')
    put(g, 32, 8, 'F')
    put(g, 31, 11, 'h')
    put(g, 12, 6, 'o')
    put(g, 16, 4, 'o')
    put(g, 40, 6, 'Y')
    put(g, 44, 14, 'M')
    put(g, 8, 15, 'w')
    put(g, 50, 10, 'm')
    put(g, 56, 4, 'T')
    # South orchard: the ELECTRICA scroll among the trees, another fire and health.
    wall_h(g, 44, 14, 40, gaps=range(25, 29))
    for x in range(16, 40, 5):
        for y in (50, 56):
            put(g, x, y, 'o')
    put(g, 27, 53, 'L')
    put(g, 44, 58, 'F')
    put(g, 46, 58, 'h')
    put(g, 8, 54, 't')
    put(g, 6, 48, 'f')
    # The east ruins: enemies wait here, past the spells.
    box(g, 44, 24, 58, 40, gaps=[(44, 31), (44, 32), (44, 33), (51, 40)])
    wall_v(g, 51, 27, 37, gaps=[32])
    put(g, 47, 27, 'T')
    put(g, 47, 37, 'T')
    put(g, 48, 29, 'E')
    put(g, 48, 35, 'E')
    put(g, 55, 28, 'E')
    put(g, 56, 32, 'O')           # the way on to the next level
    put(g, 55, 36, 'h')
    put(g, 60, 50, 'E')
    put(g, 58, 12, 'E')
    return "Testing Grounds", g


def axis_mundi():
    g = blank()
    # Entry hall in the north-west with the way back.
    box(g, 1, 1, 16, 14, gaps=[(16, 7), (16, 8), (8, 14)])
    put(g, 4, 7, 'P')
    put(g, 2, 7, 'A')             # back to the testing grounds, behind the start
    put(g, 12, 3, 'k')            # GLACIES, safe in the hall
    put(g, 2, 2, 'T')
    put(g, 15, 2, 'T')
    put(g, 2, 13, 'T')
    put(g, 15, 13, 'T')
    put(g, 10, 12, 'M')
    # The central axis: a long corridor east with side chambers.
    box(g, 16, 5, 62, 10, gaps=[(16, 7), (16, 8), (30, 10), (44, 10), (40, 5)])
    # A quiet gallery above the axis.
    for x in range(22, 60, 7):
        put(g, x, 2, 'o')
    put(g, 40, 3, 'M')
    put(g, 60, 4, 't')
    for x in (22, 34, 46, 58):
        put(g, x, 6, 'T')
    put(g, 26, 8, 'Y')
    put(g, 40, 9, 'f')
    put(g, 52, 6, 'w')
    # South-west library: the second IGNIS and ELECTRICA scrolls, mana on a plinth.
    box(g, 1, 14, 20, 30, gaps=[(8, 14), (20, 22)])
    for y in range(17, 29, 3):
        wall_h(g, y, 4, 8)
        wall_h(g, y, 12, 16)
    put(g, 10, 18, 'S')
    put(g, 10, 24, 'L')
    put(g, 3, 28, 'm')
    put(g, 18, 16, 't')
    put(g, 18, 28, 'o')
    # Fire hall: fires in a row, health in reach, the second HERBA scroll past them.
    box(g, 26, 10, 40, 26, gaps=[(30, 10), (26, 22), (40, 18)])
    for x in (29, 32, 35):
        put(g, x, 16, 'F')
    put(g, 33, 19, 'h')
    put(g, 32, 24, 'B')
    put(g, 27, 11, 'T')
    put(g, 39, 11, 'T')
    # Corridor from the library to the fire hall.
    wall_h(g, 21, 20, 26)
    wall_h(g, 23, 20, 26)
    # Guard room east of the fire hall: the first enemies.
    box(g, 40, 10, 62, 30, gaps=[(44, 10), (40, 18), (52, 30)])
    put(g, 50, 15, 'E')
    put(g, 56, 24, 'E')
    put(g, 46, 26, 'k')           # GLACIES upgrade, guarded
    put(g, 60, 12, 'T')
    put(g, 60, 28, 'T')
    # The deep south: a crypt of pillars and the way onward.
    for y in range(36, 60, 6):
        for x in range(8, 58, 8):
            put(g, x, y, '#')
            g[y][x + 1] = '#'
    put(g, 30, 48, 'E')
    put(g, 14, 54, 'E')
    put(g, 44, 40, 'E')
    put(g, 20, 44, 'F')
    put(g, 21, 46, 'h')
    put(g, 50, 56, 'm')
    put(g, 4, 60, 'w')
    put(g, 58, 34, 'Y')
    put(g, 60, 60, 'O')           # onward
    put(g, 36, 60, 'T')
    return "Axis Mundi", g


def write(path, name, g):
    with open(path, 'w', newline='\n') as f:
        f.write(name + '\n')
        for row in g:
            f.write(''.join(row) + '\n')


if __name__ == '__main__':
    write('levels/otestinggrounds.txt', *testing_grounds())
    write('levels/iaxismundi.txt', *axis_mundi())
