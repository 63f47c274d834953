-- Mandelbrot set on an N x N grid: the number of points that stay bounded
-- for 50 iterations.
local n = @N@
local inside = 0
for y = 0, n - 1 do
  for x = 0, n - 1 do
    local cr = 2.5 * x / n - 2.0
    local ci = 2.0 * y / n - 1.0
    local zr, zi, k = 0.0, 0.0, 0
    while k < 50 and zr * zr + zi * zi <= 4.0 do
      local t = zr * zr - zi * zi + cr
      zi = 2.0 * zr * zi + ci
      zr = t
      k = k + 1
    end
    if k == 50 then inside = inside + 1 end
  end
end
print(inside)
