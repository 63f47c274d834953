int total, i;
bool primes[100];

bool IsPrime(int n) {
  int d = 2;
  bool r = n > 1;
  while (r && (d * d <= n)) {
    if (n % d == 0) r = false;
    d++;
  }
  return r;
}

{
  total = 0;
  for (i = 0; i < 100; i++) {
    primes[i] = IsPrime(i);
    if (primes[i]) total += i;
  }
}
