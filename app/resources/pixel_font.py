"""A 5 x 7 pixel font for the few letters the logo writes, drawn smooth:
each lit cell is a dot and neighbouring dots are joined by strokes, so the
letters scale up without showing their grid."""
import raster

CELLS = {
    'Q': ['.###.', '#...#', '#...#', '#...#', '#.#.#', '#..#.', '.##.#'],
    'R': ['####.', '#...#', '#...#', '####.', '#.#..', '#..#.', '#...#'],
    'e': ['.....', '.....', '.###.', '#...#', '#####', '#....', '.###.'],
    'm': ['.....', '.....', '##.#.', '#.#.#', '#.#.#', '#...#', '#...#'],
    'o': ['.....', '.....', '.###.', '#...#', '#...#', '#...#', '.###.'],
    'r': ['.....', '.....', '#.##.', '##..#', '#....', '#....', '#....'],
    'u': ['.....', '.....', '#...#', '#...#', '#...#', '#..##', '.##.#'],
    'v': ['.....', '.....', '#...#', '#...#', '#...#', '.#.#.', '..#..'],
    'x': ['.....', '.....', '#...#', '.#.#.', '..#..', '.#.#.', '#...#'],
    ' ': ['.....'] * 7,
}
ADVANCE = 6  # cells from one letter to the next


def text_width(text, cell):
    return (len(text) * ADVANCE - 1) * cell


def _strokes(lit):
    """Segments between lit neighbours. A diagonal is joined only where no
    straight path already links its ends, so corners stay thin."""
    for (x, y) in lit:
        for dx, dy in ((1, 0), (0, 1)):
            if (x + dx, y + dy) in lit:
                yield (x, y), (x + dx, y + dy)
        for dx in (1, -1):
            end = (x + dx, y + 1)
            if end in lit and (x + dx, y) not in lit and (x, y + 1) not in lit:
                yield (x, y), end


def letter_shapes(text, left, top, cell, weight=0.55):
    """One shape per letter that writes `text` with its top-left corner at
    (left, top); strokes are 2 x `weight` cells wide."""
    letters = []
    r = weight * cell
    for i, ch in enumerate(text):
        lit = {(x, y) for y, row in enumerate(CELLS[ch]) for x, c in enumerate(row) if c == '#'}
        if not lit:
            continue
        ox = left + i * ADVANCE * cell

        def centre(p):
            return ox + (p[0] + 0.5) * cell, top + (p[1] + 0.5) * cell
        parts = [raster.circle(*centre(p), r) for p in lit]
        parts += [raster.capsule(*centre(a), *centre(b), r) for a, b in _strokes(lit)]
        letters.append(raster.union(*parts))
    return letters
