var a[5];

function Fact(n) {
  if (n <= 1) return 1; else return n * Fact(n - 1);
}

function Changed(Sender) {
  Out = Out + "E";
}

function Fin() {
  Result = 1;
  try { return; } finally { Out = Out + "F"; }
  Result = 2;
}

Out = IntToStr(Fact(10)) + ";";
s = 0;
for (i = 1; i <= 20; i++) {
  if (i % 2 == 0) continue;
  if (i > 15) break;
  s = s + i;
}
Out = Out + IntToStr(s) + ";";
for (i = 1; i <= 4; i++)
  switch (i) {
    case 1: Out = Out + "a";
    case 2, 3: Out = Out + "b";
    default: Out = Out + "c";
  }
Out = Out + ";";
try { RaiseException("boom"); } except { Out = Out + ExceptionMessage + ";"; }
i = Fin();
Out = Out + IntToStr(i) + ";";
for (i = 0; i < 5; i++) a[i] = i * i;
s = 0;
for (i = 0; i < 5; i++) s += a[i];
Out = Out + IntToStr(s) + ";";
t = "Hello";
t[1] = "J";
Out = Out + t + Copy(t, 2, 3) + IntToStr(Length(t)) + ";";
with (Obj) {
  Count = 5;
}
Obj.Add(4);
Obj.Items[2] = 10;
Out = Out + IntToStr(Obj.Count) + "," + IntToStr(Obj.Items[2]) + "," + IntToStr(Obj[3]) + ";";
Obj.OnChange = "Changed";
Obj.Fire;
i = 0;
while (i < 3) i++;
do i = i - 1; while (i > 0);
Out = Out + IntToStr(i);
