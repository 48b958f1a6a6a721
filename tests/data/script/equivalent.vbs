Dim a[5]

Function Fact(n)
  If n <= 1 Then
    Return 1
  Else
    Return n * Fact(n - 1)
  End If
End Function

Sub Changed(Sender)
  Out = Out & "E"
End Sub

Function Fin
  Result = 1
  Try
    Exit
  Finally
    Out = Out & "F"
  End Try
  Result = 2
End Function

Out = IntToStr(Fact(10)) & ";"
s = 0
For i = 1 To 20
  If i Mod 2 = 0 Then Continue
  If i > 15 Then Break
  s = s + i
Next
Out = Out & IntToStr(s) & ";"
For i = 1 To 4
  Select Case i
    Case 1: Out = Out & "a"
    Case 2, 3: Out = Out & "b"
    Case Else: Out = Out & "c"
  End Select
Next
Out = Out & ";"
Try
  RaiseException("boom")
Catch
  Out = Out & ExceptionMessage & ";"
End Try
i = Fin
Out = Out & IntToStr(i) & ";"
For i = 0 To 4
  a[i] = i * i
Next
s = 0
For i = 0 To 4
  s += a[i]
Next
Out = Out & IntToStr(s) & ";"
t = "Hello"
t[1] = "J"
Out = Out & t & Copy(t, 2, 3) & IntToStr(Length(t)) & ";"
With Obj
  Count = 5
End With
Obj.Add(4)
Obj.Items[2] = 10
Out = Out & IntToStr(Obj.Count) & "," & IntToStr(Obj.Items[2]) & "," & IntToStr(Obj[3]) & ";"
Obj.OnChange = "Changed"
Obj.Fire
i = 0
While i < 3
  i = i + 1
Wend
Do
  i = i - 1
Loop Until i = 0
Out = Out & IntToStr(i)
