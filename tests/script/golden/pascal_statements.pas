begin
  for i := 10 downto 1 do
    if (i mod 2 = 0) and not Odd(i) then Continue else j := j + i;
  while i < 10 do begin i := i + 1; end;
  repeat Inc(i) until i >= 20;
  case i of
    1, 3..5: j := 0;
    6: ;
  else
    Exit;
  end;
  try
    List.Items[i].Name := @Swap;
  finally
    List.Free
  end;
  try i := 1 div 0 except Break end;
  with a.b, c do x := <Value>;
  s := [1..3, 7] + [j];
end.
