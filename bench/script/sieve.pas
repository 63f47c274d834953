// Sieve of Eratosthenes: the number of primes up to N.
const N = @N@;
var flags: array[0..N] of Boolean;
    i, j, count: Integer;
    checksum: Integer;
begin
  for i := 0 to N do flags[i] := True;
  count := 0;
  for i := 2 to N do
    if flags[i] then begin
      count := count + 1;
      j := i + i;
      while j <= N do begin
        flags[j] := False;
        j := j + i;
      end;
    end;
  checksum := count;
end.
