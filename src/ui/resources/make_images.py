# Draws the window's small pictures: python3 make_images.py <folder>
import zlib, struct, math, sys
def png(path, w, h, px):
    raw = b''.join(b'\x00' + b''.join(bytes(px(x, y)) for x in range(w)) for y in range(h))
    def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    open(path, 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx-ax, by-ay
    t = max(0, min(1, ((px-ax)*dx + (py-ay)*dy) / (dx*dx+dy*dy)))
    return math.hypot(px-ax-t*dx, py-ay-t*dy)

def in_tri(px, py, a, b, c):
    def s(p, q, r): return (p[0]-r[0])*(q[1]-r[1]) - (q[0]-r[0])*(p[1]-r[1])
    d1, d2, d3 = s((px,py),a,b), s((px,py),b,c), s((px,py),c,a)
    return not ((d1<0 or d2<0 or d3<0) and (d1>0 or d2>0 or d3>0))

def cursor(shape_dist, tris):
    def px(x, y):
        cx, cy = x+.5, y+.5
        d = shape_dist(cx, cy)
        inside_tri = any(in_tri(cx, cy, *t) for t in tris)
        if d <= 1.0 or inside_tri: return (0, 0, 0, 255)
        if d <= 2.2: return (255, 255, 255, 255)
        return (0, 0, 0, 0)
    return px

# Rotation: three quarters of a circle with an arrow head at its end.
def rot_dist(x, y):
    r = math.hypot(x-16, y-16); a = math.degrees(math.atan2(y-16, x-16)) % 360
    if 30 <= a <= 300: return abs(r - 10)
    return 99
end = (16 + 10*math.cos(math.radians(300)), 16 + 10*math.sin(math.radians(300)))
png(sys.argv[1] + '/curverotate.png', 32, 32, cursor(rot_dist, [((end[0]-6, end[1]-2), (end[0]+5, end[1]-5), (end[0]+2, end[1]+6))]))

# Expansion: two diagonals with arrow heads at the four corners.
def exp_dist(x, y):
    return min(seg_dist(x, y, 6, 6, 26, 26), seg_dist(x, y, 26, 6, 6, 26))
tris = [((2,2),(11,2),(2,11)), ((30,30),(21,30),(30,21)), ((30,2),(21,2),(30,11)), ((2,30),(11,30),(2,21))]
png(sys.argv[1] + '/curveexpand.png', 32, 32, cursor(exp_dist, tris))

# The program's picture for the About window: a few hundred faint rotated
# ellipses along a path, red to blue, on white.
W = 153
acc = [[0.0]*W for _ in range(W)]
import colorsys
img = [[[255.0, 255.0, 255.0] for _ in range(W)] for _ in range(W)]
steps = 160
for s in range(steps):
    t = s/steps
    cx = 20 + 113*t; cy = 76 + 30*math.sin(t*2*math.pi)
    rad = 18 + 22*math.sin(t*math.pi); ang = t*math.pi*1.5
    col = (255*(1-t), 40*math.sin(t*math.pi), 255*t)
    for k in range(220):
        th = k/220*2*math.pi
        r = rad*(1 + 0.25*math.sin(5*th))
        x = cx + r*math.cos(th)*math.cos(ang) - 0.6*r*math.sin(th)*math.sin(ang)
        y = cy + r*math.cos(th)*math.sin(ang) + 0.6*r*math.sin(th)*math.cos(ang)
        xi, yi = int(x), int(y)
        if 0 <= xi < W and 0 <= yi < W:
            p = img[yi][xi]
            for c in range(3): p[c] += (col[c] - p[c]) * 0.08
png(sys.argv[1] + '/quorl.png', W, W, lambda x, y: (int(img[y][x][0]), int(img[y][x][1]), int(img[y][x][2]), 255))
