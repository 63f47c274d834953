// Integer loop: a running sum kept below a prime.
var i, s: Integer;
    checksum: Integer;
begin
  s := 0;
  for i := 1 to @N@ do
    s := (s + i * 7) mod 1000003;
  checksum := s;
end.
