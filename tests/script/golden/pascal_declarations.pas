program Demo;
uses 'first.pas', 'second.pas';
const Max = $FF; Name = 'it''s'#13#10;
var i, j: Integer;
  m: array[0..9, 3] of Double = 1.5;

procedure Swap(var a, b: Integer; const c: String = 'x');
var t: Integer;
begin
  t := a; a := b; b := t
end;

function Twice(x: Extended): Extended;
begin
  Result := x * 2
end;

begin
end.
this text is ignored
