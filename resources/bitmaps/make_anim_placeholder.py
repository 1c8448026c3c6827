# Run: python3 make_anim_placeholder.py resources/bitmaps
# Draws the placeholder animation the animation selector shows before an
# animation is chosen: a 32-bit BMP with alpha, 36 frames of 16 x 16 stacked
# vertically (frame 0 at the top). A comet runs once round a faint ring in 36
# steps of 10 degrees, so the loop closes without a jump; 4 x 4 supersampling.
import math, struct, sys

SIZE, FRAMES, SUB = 16, 36, 4
RING_IN, RING_OUT = 4.6, 7.0          # pixels from the centre
TAIL = math.radians(200)              # how far the comet's tail reaches back

def frame(k):
    head = 2 * math.pi * k / FRAMES - math.pi / 2   # frame 0: the head at the top
    out = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            cover = weight = 0.0
            for j in range(SUB):
                for i in range(SUB):
                    dx = x + (i + 0.5) / SUB - SIZE / 2
                    dy = y + (j + 0.5) / SUB - SIZE / 2
                    r = math.hypot(dx, dy)
                    if not RING_IN <= r <= RING_OUT:
                        continue
                    behind = (head - math.atan2(dy, dx)) % (2 * math.pi)  # clockwise lag
                    t = max(0.0, 1 - behind / TAIL)
                    cover += 1
                    weight += 0.18 + 0.82 * t * t       # faint ring, bright head
            n = SUB * SUB
            a = round(255 * weight / n)
            # Colour goes from a cool grey (ring) to a clear blue (head).
            t = weight / cover if cover else 0
            red, green, blue = round(150 - 120 * t), round(160 - 60 * t), round(180 + 60 * t)
            row.append((blue, green, red, a))
        out.append(row)
    return out

frames = [frame(k) for k in range(FRAMES)]
w, h = SIZE, SIZE * FRAMES
pixels = bytearray()
for y in range(h - 1, -1, -1):  # bottom-up
    for x in range(w):
        pixels += bytes(frames[y // SIZE][y % SIZE][x])
header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
file_header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 14 + 40)
open(sys.argv[1] + '/anim_placeholder.bmp', 'wb').write(file_header + header + pixels)
