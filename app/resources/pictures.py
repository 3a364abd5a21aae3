"""The program's pictures: the product emblem (a shield guarding against a
crossed-out bug, under a magnifying glass), the logo built from it, the
application icon and the main window's button glyphs. Each function draws
on a raster.Canvas; make_artwork.py writes the files."""
import raster
from raster import (arc, capsule, circle, ellipse, grown, half_plane, intersection,
                    outline, polygon, union)
import pixel_font

# The application's colours.
NAVY = (0, 36, 145)
BLUE = (81, 124, 255)
PALE = (166, 188, 255)
FACE = (239, 243, 255)
WHITE = (255, 255, 255)
DEEP = (0, 20, 90)  # navy in shadow
MID = raster.mix(BLUE, NAVY, 0.45)

# Bottom-left pixel of every glyph: the flat button draws it transparent.
# No drawn pixel, anti-aliased edges included, may come out in this colour.
GLYPH_KEY = (255, 0, 255)


def shield(cx, top, bottom, half_width, rounding=0.0):
    """A heater shield: a flat top 2 x half_width wide whose sides fall
    straight from the top corners and curve in to a point at the bottom.
    Each side is an arc of a circle centred on the top edge's line, so the
    side meets the top at a right angle."""
    hw, y0, y1 = half_width - rounding, top + rounding, bottom - rounding
    d = ((y1 - y0) ** 2 - hw ** 2) / (2 * hw)
    r = hw + d
    body = intersection(circle(cx + d, y0, r), circle(cx - d, y0, r), half_plane(cx, y0, 0, 1))
    return grown(body, rounding)


class Emblem:
    """The emblem laid out on a 100 x 100 grid, scaled by s and moved to
    (ox, oy) on the canvas."""

    def __init__(self, s, ox, oy):
        self.s, self.ox, self.oy = s, ox, oy

    def p(self, x, y):
        return self.ox + x * self.s, self.oy + y * self.s

    def d(self, length):
        return length * self.s

    def shield(self, inset=0.0):
        """The shield's outline, or the part of it `inset` units inside."""
        cx, top = self.p(42, 4)
        _, bottom = self.p(42, 92)
        return grown(shield(cx, top, bottom, self.d(36), self.d(5)), -self.d(inset))

    def draw_shield(self, canvas, colours, inner_line):
        cx, top = self.p(42, 4)
        _, bottom = self.p(42, 92)
        canvas.fill(self.shield(), colours['rim'])
        body = self.shield(inset=max(3.5, 1.1 / self.s))  # a rim of a pixel at least
        canvas.fill(body, raster.vertical_gradient(top, bottom, *colours['light']))
        # The right half in shade gives the shield a ridge down its middle.
        canvas.fill(intersection(body, half_plane(cx, top, 1, 0)),
                    raster.vertical_gradient(top, bottom, *colours['shade']))
        if inner_line:
            canvas.fill(outline(self.shield(inset=7.5), self.d(1.3)), colours['line'], 0.8)

    def draw_bug(self, canvas):
        """A beetle, crossed out."""
        d = self.d
        k = 0.72  # the beetle's own grid, centred in the ring

        def p(x, y):
            return self.p(42 + x * k, 42 + y * k)
        leg = d(1.9 * k)
        for side in (-1, 1):
            for (x0, y0, x1, y1, x2, y2) in ((8, -6, 16, -12, 20, -18), (10, 3, 19, 3, 23, 0),
                                             (8, 11, 16, 17, 18, 24)):
                a, b, c = p(side * x0, y0), p(side * x1, y1), p(side * x2, y2)
                canvas.fill(union(capsule(*a, *b, leg), capsule(*b, *c, leg)), DEEP)
            a, b = p(side * 3, -20), p(side * 9, -30)
            canvas.fill(capsule(*a, *b, d(1.4 * k)), DEEP)
        head = circle(*p(0, -16), d(6.5 * k))
        body = ellipse(*p(0, 3), d(11.5 * k), d(15 * k))
        canvas.fill(grown(union(head, body), d(1.8 * k)), DEEP)
        canvas.fill(head, raster.vertical_gradient(p(0, -22)[1], p(0, -10)[1], PALE, BLUE))
        canvas.fill(body, raster.linear_gradient(*p(-8, -8), *p(10, 16), FACE, PALE))
        canvas.fill(capsule(*p(0, -10), *p(0, 17), d(1.0 * k)), MID)
        canvas.fill(ellipse(*p(-4.5, -3), d(2.2 * k), d(4 * k)), WHITE, 0.8)
        # The ban: a ring round the bug and a bar across it, in white with a
        # navy edge so that it reads on the shield and over the bug alike.
        ring = outline(circle(*self.p(42, 41), d(26)), d(5))
        bar = intersection(capsule(*self.p(24, 23), *self.p(60, 59), d(2.5)),
                           circle(*self.p(42, 41), d(27)))
        ban = union(ring, bar)
        canvas.fill(grown(ban, d(1.2)), DEEP)
        canvas.fill(ban, WHITE)

    def draw_magnifier(self, canvas, colours):
        p, d = self.p, self.d
        centre = p(66, 64)
        canvas.fill(capsule(*p(79, 77), *p(93, 91), d(5.5)), colours['handle'])
        canvas.fill(capsule(*p(80, 76.5), *p(92, 88.5), d(1.5)), colours['handle_light'], 0.8)
        glass = circle(*centre, d(16.5))
        canvas.fill(glass, raster.linear_gradient(*p(52, 50), *p(80, 78), WHITE, PALE),
                    colours['glass'])
        canvas.fill(arc(*centre, d(11.5), 195, 255, d(1.8)), WHITE, 0.9)
        ring = outline(circle(*centre, d(19.5)), d(6.5))
        canvas.fill(ring, raster.linear_gradient(*p(50, 48), *p(82, 80), colours['ring'][0],
                                                 colours['ring'][1]))
        canvas.fill(arc(*centre, d(21.2), 200, 250, d(0.9)), colours['ring_glint'], 0.9)

    def enlarged_magnifier(self):
        """The same emblem with the magnifier a third larger and a little
        further in: at small sizes the glass must stay readable."""
        k = 1.32
        lens_x, lens_y = self.p(58, 57)
        return Emblem(self.s * k, lens_x - 66 * self.s * k, lens_y - 64 * self.s * k)

    def draw(self, canvas, detail, shield_colours=None, magnifier_colours=None):
        """detail 'full' with the bug and the shield's inner line; 'plain'
        for small sizes: shield and a larger magnifier only."""
        full = detail == 'full'
        self.draw_shield(canvas, shield_colours or EMBLEM_SHIELD, inner_line=full)
        if full:
            self.draw_bug(canvas)
        magnifier = self if full else self.enlarged_magnifier()
        magnifier.draw_magnifier(canvas, magnifier_colours or EMBLEM_MAGNIFIER)


EMBLEM_SHIELD = dict(rim=NAVY, light=(PALE, BLUE), shade=(BLUE, NAVY), line=PALE)
EMBLEM_MAGNIFIER = dict(handle=NAVY, handle_light=BLUE, glass=0.55, ring=(BLUE, NAVY),
                        ring_glint=PALE)


def logo():
    """237 x 189 on white: the emblem, the product's name under it."""
    canvas = raster.Canvas(237, 189, WHITE)
    s = 1.36
    emblem = Emblem(s, 118.5 - 52.5 * s, 1)
    # A soft floor shadow grounds the shield.
    canvas.fill(ellipse(*emblem.p(44, 97), emblem.d(30), emblem.d(3.2)), PALE, 0.6)
    emblem.draw(canvas, 'full')
    cell = 2.3
    words = (('Quorvex', NAVY), (' Remover', BLUE))
    left = (237 - pixel_font.text_width('Quorvex Remover', cell)) / 2
    for text, colour in words:
        for shape in pixel_font.letter_shapes(text, left, 151, cell):
            canvas.fill(shape, colour)
        left += len(text) * pixel_font.ADVANCE * cell
    canvas.fill(capsule(40, 177, 197, 177, 0.8), PALE)
    return canvas.flattened(WHITE)


def icon(size):
    """The emblem alone on a transparent square."""
    canvas = raster.Canvas(size, size)
    s = size / 100
    Emblem(s, (50 - 52.5) * s, (50 - 50.5) * s).draw(canvas, 'full' if size >= 32 else 'plain')
    return canvas.rgba()


GLYPH_SIZE = 32


def glyph_canvas():
    return raster.Canvas(GLYPH_SIZE, GLYPH_SIZE)


def check_glyph(active):
    """'Check Me Now!': a magnifying glass over a shield."""
    canvas = glyph_canvas()
    emblem = Emblem(0.31, -0.5, 0.5)
    if active:
        shield_colours = dict(rim=NAVY, light=(PALE, BLUE), shade=(BLUE, MID))
        magnifier = dict(handle=NAVY, handle_light=BLUE, glass=0.7, ring=(BLUE, NAVY),
                         ring_glint=WHITE)
    else:
        shield_colours = dict(rim=NAVY, light=(WHITE, PALE), shade=(FACE, PALE))
        magnifier = dict(handle=NAVY, handle_light=PALE, glass=0.6, ring=(MID, NAVY),
                         ring_glint=PALE)
    emblem.draw(canvas, 'plain', shield_colours, magnifier)
    return canvas.keyed(FACE, GLYPH_KEY)


def update_glyph():
    """'Check Updates...': a globe inside two circling arrows."""
    canvas = glyph_canvas()
    c, r = 16.0, 9.5
    globe = circle(c, c, r)
    canvas.fill(globe, raster.linear_gradient(10, 9, 22, 24, WHITE, PALE))
    lines = [outline(ellipse(c, c, 4.2, r), 1.0), capsule(c, c - r, c, c + r, 0.5)]
    lines += [capsule(c - r, y, c + r, y, 0.5) for y in (c - 4.6, c, c + 4.6)]
    canvas.fill(intersection(union(*lines), globe), MID, 0.85)
    canvas.fill(outline(globe, 1.4), NAVY)
    for start, end in ((200, 305), (20, 125)):
        canvas.fill(arc(c, c, 13.2, start, end, 1.25), NAVY)
        canvas.fill(arrowhead(c, c, 13.2, end, 3.6), NAVY)
    return canvas.keyed(FACE, GLYPH_KEY)


def arrowhead(cx, cy, radius, angle, size):
    """A triangle at the end of a clockwise arc, pointing on along it."""
    x, y = raster.point_on_circle(cx, cy, radius, angle)
    nx, ny = (x - cx) / radius, (y - cy) / radius
    tx, ty = -ny, nx
    tip = (x + tx * size, y + ty * size)
    back = (x - tx * size * 0.25, y - ty * size * 0.25)
    return polygon([tip, (back[0] + nx * size * 0.85, back[1] + ny * size * 0.85),
                    (back[0] - nx * size * 0.85, back[1] - ny * size * 0.85)])


def exit_glyph(active):
    """'Exit': a door swung open and an arrow leaving through it."""
    canvas = glyph_canvas()
    frame = raster.box(4, 3, 20, 29)
    canvas.fill(frame, NAVY)
    canvas.fill(raster.box(6, 5, 18, 29), raster.vertical_gradient(5, 29, DEEP, NAVY))
    door = polygon([(6, 5), (13.5, 2), (13.5, 31), (6, 29)])
    panel = (PALE, BLUE) if active else (WHITE, PALE)
    canvas.fill(grown(door, 0.7), NAVY)
    canvas.fill(door, raster.vertical_gradient(2, 31, *panel))
    canvas.fill(circle(11.6, 17, 1.2), NAVY)
    arrow = union(capsule(15, 17, 24, 17, 2.0), polygon([(31, 17), (23, 9.5), (23, 24.5)]))
    canvas.fill(grown(arrow, 1.4), FACE)
    canvas.fill(arrow, raster.linear_gradient(15, 17, 31, 17, BLUE, MID) if active else NAVY)
    if active:
        canvas.fill(capsule(16, 16, 23, 16, 0.6), PALE, 0.9)
    return canvas.keyed(FACE, GLYPH_KEY)


def glyphs():
    """Glyph name -> rows of colours."""
    return {
        'CHECK_ACTIVE': check_glyph(True),
        'CHECK_INACTIVE': check_glyph(False),
        'UPDATE_INACTIVE': update_glyph(),
        'EXIT_ACTIVE': exit_glyph(True),
        'EXIT_INACTIVE': exit_glyph(False),
    }
