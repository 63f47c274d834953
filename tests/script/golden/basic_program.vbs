' A Basic-like script
Imports "first.vbs"
Dim a, b[3, 4] As Integer = 5, s As String
rem a comment line
Sub Show(ByRef x, ByVal y As Decimal)
  s = s & x & "\x41" : y += 1
End Sub
Function Half(v)
  Return v \ 2
End Function
If a <> b Then
  Show(a, b)
ElseIf a >= 3 Then
  a++
Else
  a -= 1
End If
If a Then b = 1 : a = 2
Select Case a
Case 1, 2..4:
  b = 0
Case Else:
  b = 1
End Select
Do
  a = a + _
      1
Loop While a < 10
While a > 0
  a = a - 1 ' count down
Wend
For i = 1 To 10 Step -0.5
  Set o = New TStringList
  Delete o
Next
Try
  o.Add(AddressOf Half)
Catch
  Exit
End Try
With o
  Clear
End With
