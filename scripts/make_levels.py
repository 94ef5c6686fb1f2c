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


def tree_line(g, y, x0, x1, step=2, gaps=()):
    """A row of trees with gaps the far hills show through."""
    for x in range(x0, x1 + 1, step):
        if x not in gaps:
            put(g, x, y, 'o')


def testing_grounds():
    g = blank()
    # The yard: the start, facing east through the gate. IGNIS lies straight ahead, in the
    # first view.
    box(g, 1, 26, 12, 38, gaps=[(12, 31), (12, 32), (12, 33)])
    put(g, 3, 32, 'P')
    put(g, 7, 32, 'S')
    put(g, 9, 32, 'h')             # the player starts weak: health on the way out
    put(g, 11, 32, 'h')
    put(g, 2, 27, 'o')
    put(g, 2, 37, 'o')
    put(g, 10, 28, 'M')
    put(g, 10, 36, 'Y')
    put(g, 5, 28, 'f')
    # The meadow, between two tree lines. The first enemy starts far east, beyond the river
    # of fire, on the gate's row: it is seen crossing the river and the whole meadow, and
    # needs more than twenty seconds to reach a player who stays at the start.
    tree_line(g, 20, 14, 44, gaps=(30, 32, 34))
    tree_line(g, 44, 14, 44, gaps=(24, 26, 36))
    put(g, 57, 32, 'E')
    # The fire pit by the path: two fires, health past them, and HERBA, the mending spell,
    # beside it.
    put(g, 21, 37, 'F')
    put(g, 23, 37, 'F')
    put(g, 22, 39, 'h')
    put(g, 26, 40, 'B')
    put(g, 18, 40, 't')
    put(g, 30, 24, 'w')
    put(g, 36, 41, 'M')
    put(g, 16, 24, 'Y')
    # The ruins in the north: three enemies pressed against their west and south walls, out
    # of sight of the start. Their door is in the east of the south wall, where ELECTRICA
    # waits: whoever steps in lets all three out at once.
    box(g, 22, 3, 40, 15, gaps=[(37, 15), (38, 15)])
    wall_v(g, 31, 6, 12, gaps=[9])
    put(g, 26, 7, 'E')
    put(g, 28, 11, 'E')
    put(g, 34, 9, 'E')
    put(g, 38, 5, 'h')
    put(g, 24, 4, 'M')
    put(g, 38, 18, 'L')
    tree_line(g, 1, 2, 20, step=3)
    put(g, 8, 8, 'Y')
    put(g, 14, 12, 'o')
    put(g, 6, 16, 'o')
    # The south: an orchard on the way nowhere, with health for whoever wanders.
    for x in range(16, 44, 6):
        for y in (50, 56):
            put(g, x, y, 'o')
    put(g, 31, 53, 'h')
    put(g, 8, 52, 'w')
    put(g, 6, 58, 'f')
    # The river of fire, two fires wide between two rock ridges, with one ford on the
    # gate's row. GLACIES lies before it: the shield takes the burns of the crossing.
    for x in (46, 47):
        wall_v(g, x, 1, 25)
        wall_v(g, x, 39, 62)
        for y in range(26, 39):
            if y != 32:
                put(g, x, y, 'F')
    put(g, 42, 29, 'k')
    # Beyond the river: the shrine of the forward portal in the north-east, two guards
    # pressed against its west wall until the player comes in by the south door.
    box(g, 51, 3, 62, 14, gaps=[(57, 14), (58, 14)])
    put(g, 54, 6, 'E')
    put(g, 54, 11, 'E')
    put(g, 60, 5, 'O')
    put(g, 60, 12, 'h')
    put(g, 53, 4, 'T')
    put(g, 53, 13, 'T')
    tree_line(g, 50, 50, 62, step=3)
    put(g, 55, 40, 'Y')
    put(g, 59, 24, 'M')
    return "Testing Grounds", seal_unreachable(g)


def pillar(g, x, y):
    """A two-by-two pillar."""
    for dx in (0, 1):
        for dy in (0, 1):
            g[y + dy][x + dx] = '#'


def pen(g, x, y, height):
    """A pen open to the east: enemies inside press against its back wall while the player
    is west of them, and come out when he passes east of them."""
    wall_v(g, x, y, y + height)
    wall_h(g, y, x, x + 3)
    wall_h(g, y + height, x, x + 3)


def axis_mundi():
    g = blank()
    # The entry hall: the start, the way back just behind it.
    box(g, 1, 1, 14, 12, gaps=[(14, 5), (14, 6), (14, 7)])
    put(g, 4, 6, 'P')
    put(g, 2, 6, 'A')
    for x, y in ((2, 2), (12, 2), (2, 11), (12, 11)):
        put(g, x, y, 'T')
    put(g, 7, 10, 'M')
    # The axis: a long corridor east, torches along its north wall.
    box(g, 14, 4, 62, 9, gaps=[(14, 5), (14, 6), (14, 7), (22, 9), (23, 9), (59, 9), (60, 9)])
    for x in range(18, 62, 8):
        put(g, x, 5, 'T')
    put(g, 28, 8, 'Y')
    put(g, 50, 8, 'w')
    # The gallery above the axis, reached from its east end: the second GLACIES, a reward.
    box(g, 14, 1, 62, 4)
    g[4][61] = '.'  # its door, through the axis's north wall
    put(g, 16, 2, 'k')
    for x in range(24, 60, 10):
        put(g, x, 2, 'T')
    # The guard hall: two enemies in a pen open to the east; the second IGNIS behind them.
    box(g, 14, 9, 30, 24, gaps=[(22, 9), (23, 9), (30, 17), (30, 18)])
    pen(g, 17, 12, 8)
    put(g, 19, 15, 'E')
    put(g, 19, 18, 'E')
    put(g, 27, 22, 'S')
    put(g, 15, 10, 'T')
    put(g, 29, 10, 'T')
    put(g, 15, 23, 'T')
    put(g, 29, 23, 'T')
    # The fire hall: rows of fires, health within reach, the second HERBA past them, and
    # one more enemy in a pen.
    box(g, 30, 9, 46, 24, gaps=[(30, 17), (30, 18), (46, 16), (46, 17)])
    for x in (33, 36, 39, 42):
        put(g, x, 12, 'F')
        put(g, x, 21, 'F')
    put(g, 37, 14, 'h')
    put(g, 44, 22, 'B')
    pen(g, 34, 15, 4)
    put(g, 36, 17, 'E')
    put(g, 31, 10, 'T')
    put(g, 45, 10, 'T')
    # The library: the mana potion on a plinth before the crypt, and the second ELECTRICA.
    box(g, 46, 9, 62, 24, gaps=[(46, 16), (46, 17), (59, 9), (60, 9), (54, 24), (55, 24)])
    for y in (12, 15, 18):
        wall_h(g, y, 49, 52)
        wall_h(g, y, 56, 59)
    put(g, 54, 13, 'm')
    put(g, 60, 21, 'L')
    put(g, 47, 10, 'T')
    put(g, 61, 10, 'T')
    put(g, 48, 23, 't')
    # Rock under the entry hall: the crypt's wall runs straight across.
    for y in range(13, 25):
        wall_h(g, y, 1, 13)
    # The crypt: pillars in rows, enemies sheltering behind them from the start, torches,
    # fires, and the forward portal in the far corner.
    for y in range(29, 58, 7):
        for x in range(8, 58, 9):
            pillar(g, x, y)
    put(g, 11, 31, 'E')
    put(g, 29, 38, 'E')
    put(g, 47, 45, 'E')
    put(g, 20, 52, 'E')
    put(g, 38, 52, 'E')
    for x, y in ((7, 28), (25, 35), (43, 42), (52, 56), (16, 49)):
        put(g, x, y, 'T')
    put(g, 33, 46, 'F')
    put(g, 34, 47, 'h')
    put(g, 4, 60, 'w')
    put(g, 58, 34, 'Y')
    put(g, 60, 60, 'O')
    put(g, 61, 57, 'T')
    return "Axis Mundi", seal_unreachable(g)


def seal_unreachable(g):
    """Turns floor that no walk from the start reaches into rock, so the minimap shows only
    places the player can go."""
    start = next((x, y) for y in range(H) for x in range(W) if g[y][x] == 'P')
    seen = {start}
    todo = [start]
    while todo:
        x, y = todo.pop()
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < W and 0 <= ny < H and (nx, ny) not in seen and g[ny][nx] != '#':
                seen.add((nx, ny))
                todo.append((nx, ny))
    for y in range(H):
        for x in range(W):
            if (x, y) not in seen and g[y][x] == '.':
                g[y][x] = '#'
    return g


def write(path, name, g):
    with open(path, 'w', newline='\n') as f:
        f.write(name + '\n')
        for row in g:
            f.write(''.join(row) + '\n')


if __name__ == '__main__':
    write('levels/otestinggrounds.txt', *testing_grounds())
    write('levels/iaxismundi.txt', *axis_mundi())
