var total, i: Integer;
    primes: array[0..99] of Boolean;

function IsPrime(n: Integer): Boolean;
var d: Integer;
begin
  Result := n > 1;
  d := 2;
  while Result and (d * d <= n) do begin
    if n mod d = 0 then Result := False;
    d := d + 1;
  end;
end;

begin
  total := 0;
  for i := 0 to 99 do begin
    primes[i] := IsPrime(i);
    if primes[i] then total := total + i;
  end;
end.
