"""A grid of pixels to draw the program's pictures on, shared by the
generators of the icon and the About logo. A pixel holds whatever colour
value its generator uses (an RGB tuple or a palette index)."""


class Canvas:
    def __init__(self, width, height, ground):
        self.width, self.height = width, height
        self.px = [[ground] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fill the inclusive rectangle (x0, y0)-(x1, y1)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def polygon(self, points, colour):
        """Fill every pixel whose centre lies inside the polygon."""
        n = len(points)
        for y in range(self.height):
            cy = y + 0.5
            for x in range(self.width):
                cx = x + 0.5
                inside = False
                for i in range(n):
                    (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
                    if (ay > cy) != (by > cy):
                        if cx < ax + (cy - ay) * (bx - ax) / (by - ay):
                            inside = not inside
                if inside:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, colour)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy
