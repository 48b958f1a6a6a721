var
  i, s: Integer;
  a: array[0..4] of Integer;
  t: String;

function Fact(n: Integer): Integer;
begin
  if n <= 1 then Result := 1 else Result := n * Fact(n - 1);
end;

procedure Changed(Sender: TObject);
begin
  Out := Out + 'E';
end;

function Fin: Integer;
begin
  Result := 1;
  try
    exit;
  finally
    Out := Out + 'F';
  end;
  Result := 2;
end;

begin
  Out := IntToStr(Fact(10)) + ';';
  s := 0;
  for i := 1 to 20 do
  begin
    if i mod 2 = 0 then continue;
    if i > 15 then break;
    s := s + i;
  end;
  Out := Out + IntToStr(s) + ';';
  for i := 1 to 4 do
    case i of
      1: Out := Out + 'a';
      2, 3: Out := Out + 'b';
    else
      Out := Out + 'c';
    end;
  Out := Out + ';';
  try
    RaiseException('boom');
  except
    Out := Out + ExceptionMessage + ';';
  end;
  i := Fin;
  Out := Out + IntToStr(i) + ';';
  for i := 0 to 4 do a[i] := i * i;
  s := 0;
  for i := 0 to 4 do s := s + a[i];
  Out := Out + IntToStr(s) + ';';
  t := 'Hello';
  t[1] := 'J';
  Out := Out + t + Copy(t, 2, 3) + IntToStr(Length(t)) + ';';
  with Obj do
    Count := 5;
  Obj.Add(4);
  Obj.Items[2] := 10;
  Out := Out + IntToStr(Obj.Count) + ',' + IntToStr(Obj.Items[2]) + ',' + IntToStr(Obj[3]) + ';';
  Obj.OnChange := 'Changed';
  Obj.Fire;
  i := 0;
  while i < 3 do i := i + 1;
  repeat i := i - 1 until i = 0;
  Out := Out + IntToStr(i);
end.
