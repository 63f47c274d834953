procedure Hello;
begin
end;
begin
end.
