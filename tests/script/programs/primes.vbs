Dim total, i
Dim primes[100]

Function IsPrime(n)
  Dim d, r
  r = n > 1
  d = 2
  While r And (d * d <= n)
    If n Mod d = 0 Then r = False
    d = d + 1
  Wend
  Return r
End Function

total = 0
For i = 0 To 99
  primes[i] = IsPrime(i)
  If primes[i] Then total = total + i
Next
