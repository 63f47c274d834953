var Shared: Integer;
begin
end.
