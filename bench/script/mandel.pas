// Mandelbrot set on an N x N grid: the number of points that stay bounded
// for 50 iterations.
const N = @N@;
var x, y, k, inside: Integer;
    cr, ci, zr, zi, t: Double;
    checksum: Integer;
begin
  inside := 0;
  for y := 0 to N - 1 do
    for x := 0 to N - 1 do begin
      cr := 2.5 * x / N - 2.0;
      ci := 2.0 * y / N - 1.0;
      zr := 0.0;
      zi := 0.0;
      k := 0;
      while (k < 50) and (zr * zr + zi * zi <= 4.0) do begin
        t := zr * zr - zi * zi + cr;
        zi := 2.0 * zr * zi + ci;
        zr := t;
        k := k + 1;
      end;
      if k = 50 then inside := inside + 1;
    end;
  checksum := inside;
end.
