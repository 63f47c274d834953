var total = 0, i, primes[100];

function IsPrime(n) {
  var d = 2, r = n > 1;
  while (r && (d * d <= n)) {
    if (n % d == 0) r = false;
    d++;
  }
  return r;
}

for (i = 0; i < 100; i++) {
  primes[i] = IsPrime(i);
  if (primes[i]) total += i;
}
