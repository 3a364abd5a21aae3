"""Anti-aliased drawing with signed distance functions.

A shape is a function from a point to its signed distance from the shape's
edge (negative inside) together with the box it lies in. A pixel is covered
by the part of the one-pixel band around the edge that it reaches, which
gives smooth edges without sampling every pixel many times. A canvas holds
colours with straight (not premultiplied) alpha and lays each fill over what
is there.
"""
import math


class Shape:
    def __init__(self, distance, box):
        self.distance = distance
        self.box = box  # (left, top, right, bottom) around the shape


def _box_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _box_grow(box, r):
    return (box[0] - r, box[1] - r, box[2] + r, box[3] + r)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    # Scaled-circle distance: exact on the axes, close enough between them
    # for a one-pixel edge band.
    scale = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1) * scale,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def _segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def capsule(ax, ay, bx, by, r):
    """A stroke of width 2r from a to b with round ends."""
    return Shape(lambda x, y: _segment_distance(x, y, ax, ay, bx, by) - r,
                 _box_grow((min(ax, bx), min(ay, by), max(ax, bx), max(ay, by)), r))


def box(left, top, right, bottom, radius=0.0):
    """A rectangle with corners rounded by `radius`."""
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return Shape(distance, (left, top, right, bottom))


def polygon(points):
    """A closed polygon; inside by the even-odd rule."""
    edges = list(zip(points, points[1:] + points[:1]))

    def distance(x, y):
        nearest = min(_segment_distance(x, y, ax, ay, bx, by) for (ax, ay), (bx, by) in edges)
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -nearest if inside else nearest
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return Shape(distance, (min(xs), min(ys), max(xs), max(ys)))


def arc(cx, cy, radius, start, end, r):
    """A stroke of width 2r along the circle from angle `start` to `end`
    (degrees, clockwise on screen from the positive x axis), round ends."""
    a0, a1 = math.radians(start), math.radians(end)
    span = (a1 - a0) % (2 * math.pi)
    ends = [(cx + radius * math.cos(a), cy + radius * math.sin(a)) for a in (a0, a1)]

    def distance(x, y):
        if ((math.atan2(y - cy, x - cx) - a0) % (2 * math.pi)) <= span:
            return abs(math.hypot(x - cx, y - cy) - radius) - r
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - r
    return Shape(distance, _box_grow((cx - radius, cy - radius, cx + radius, cy + radius), r))


def point_on_circle(cx, cy, radius, angle):
    a = math.radians(angle)
    return cx + radius * math.cos(a), cy + radius * math.sin(a)


def union(*shapes):
    result_box = shapes[0].box
    for s in shapes[1:]:
        result_box = _box_union(result_box, s.box)
    return Shape(lambda x, y: min(s.distance(x, y) for s in shapes), result_box)


def intersection(*shapes):
    b = shapes[0].box
    for s in shapes[1:]:
        b = (max(b[0], s.box[0]), max(b[1], s.box[1]), min(b[2], s.box[2]), min(b[3], s.box[3]))
    return Shape(lambda x, y: max(s.distance(x, y) for s in shapes), b)


def grown(shape, r):
    """The shape widened by r (narrowed for negative r)."""
    return Shape(lambda x, y: shape.distance(x, y) - r, _box_grow(shape.box, max(r, 0.0)))


def outline(shape, width):
    """A band of `width` centred on the shape's edge."""
    return Shape(lambda x, y: abs(shape.distance(x, y)) - width / 2,
                 _box_grow(shape.box, width / 2))


def half_plane(x0, y0, nx, ny):
    """Everything on the side of the line through (x0, y0) that the normal
    (nx, ny) points to; it has no box of its own, so intersect it."""
    length = math.hypot(nx, ny)
    nx, ny = nx / length, ny / length
    return Shape(lambda x, y: (x0 - x) * nx + (y0 - y) * ny, (-1e9, -1e9, 1e9, 1e9))


def mix(a, b, t):
    """The colour t of the way from a to b."""
    t = max(0.0, min(1.0, t))
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def vertical_gradient(top, bottom, c0, c1):
    """A paint: colour c0 at y = top, c1 at y = bottom."""
    return lambda x, y: mix(c0, c1, (y - top) / (bottom - top))


def linear_gradient(x0, y0, x1, y1, c0, c1):
    """A paint: colour c0 at (x0, y0), c1 at (x1, y1), along that line."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    return lambda x, y: mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / length2)


class Canvas:
    """w x h pixels of (r, g, b, alpha), r, g, b in 0...255, alpha in 0...1."""

    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        colour = background or (0, 0, 0)
        alpha = 1.0 if background else 0.0
        self.pixels = [[colour[0], colour[1], colour[2], alpha] for _ in range(w * h)]

    def fill(self, shape, paint, opacity=1.0):
        """Lays `paint` (a colour, or a function of x and y giving one) over
        the pixels the shape covers."""
        left, top, right, bottom = shape.box
        x0, y0 = max(0, int(math.floor(left - 1))), max(0, int(math.floor(top - 1)))
        x1, y1 = min(self.w, int(math.ceil(right + 1))), min(self.h, int(math.ceil(bottom + 1)))
        colour_at = paint if callable(paint) else (lambda x, y: paint)
        distance = shape.distance
        for y in range(y0, y1):
            row = y * self.w
            for x in range(x0, x1):
                cover = 0.5 - distance(x + 0.5, y + 0.5)
                if cover <= 0:
                    continue
                a = min(cover, 1.0) * opacity
                self._over(row + x, colour_at(x + 0.5, y + 0.5), a)

    def _over(self, index, colour, a):
        p = self.pixels[index]
        below_alpha = p[3] * (1 - a)
        out = a + below_alpha
        if out <= 0:
            return
        for i in range(3):
            p[i] = (colour[i] * a + p[i] * below_alpha) / out
        p[3] = out

    def flattened(self, background):
        """Rows of 8-bit colours with the canvas laid over `background`."""
        def over_background(r, g, b, a):
            return tuple(int(round(c * a + bg * (1 - a))) for c, bg in zip((r, g, b), background))
        return [[over_background(*p) for p in self.pixels[y * self.w:(y + 1) * self.w]]
                for y in range(self.h)]

    def keyed(self, background, key):
        """As `flattened`, but every pixel that nothing covers is `key`:
        pictures shown with one transparent colour."""
        rows = self.flattened(background)
        for y in range(self.h):
            for x in range(self.w):
                if self.pixels[y * self.w + x][3] < 1 / 255:
                    rows[y][x] = key
                elif rows[y][x] == key:
                    raise ValueError('pixel (%d, %d) came out as the transparent colour' % (x, y))
        return rows

    def rgba(self):
        """Rows of (r, g, b, a) bytes, straight alpha."""
        return [[(int(round(r)), int(round(g)), int(round(b)), int(round(a * 255)))
                 for r, g, b, a in self.pixels[y * self.w:(y + 1) * self.w]]
                for y in range(self.h)]
