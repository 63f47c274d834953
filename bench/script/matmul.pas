// Product of two N x N matrices of integers; the checksum is the sum of
// the product's elements modulo a prime. (Each array is declared on its
// own: in a list of names, dimensions belong to the last name only.)
const N = @N@;
var a: array[0..N - 1, 0..N - 1] of Integer;
    b: array[0..N - 1, 0..N - 1] of Integer;
    c: array[0..N - 1, 0..N - 1] of Integer;
    i, j, k, s, sum: Integer;
    checksum: Integer;
begin
  for i := 0 to N - 1 do
    for j := 0 to N - 1 do begin
      a[i, j] := (i + j) mod 7;
      b[i, j] := (i * j) mod 5;
    end;
  for i := 0 to N - 1 do
    for j := 0 to N - 1 do begin
      s := 0;
      for k := 0 to N - 1 do
        s := s + a[i, k] * b[k, j];
      c[i, j] := s;
    end;
  sum := 0;
  for i := 0 to N - 1 do
    for j := 0 to N - 1 do
      sum := (sum + c[i, j]) mod 1000003;
  checksum := sum;
end.
