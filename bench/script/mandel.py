# Mandelbrot set on an N x N grid: the number of points that stay bounded
# for 50 iterations.
def main(n):
    inside = 0
    for y in range(n):
        for x in range(n):
            cr = 2.5 * x / n - 2.0
            ci = 2.0 * y / n - 1.0
            zr = 0.0
            zi = 0.0
            k = 0
            while k < 50 and zr * zr + zi * zi <= 4.0:
                t = zr * zr - zi * zi + cr
                zi = 2.0 * zr * zi + ci
                zr = t
                k += 1
            if k == 50:
                inside += 1
    return inside

print(main(@N@))
