#include "first.h"
#define N 10
#define Greeting "hi" + "!"
int a, b[N] = 0;
void f(int x, &y = 2; string s) {
  y = x ^ 2;
  return;
}
float g() { return 1.5e3; }
{
  int i = 0;
  for (i = 0; i < N; i++) b[i] = i % 3;
  switch (a) { case 1: a = 2; default: ; }
  do { a /= 2; } while (a > 1);
  try { f(a, b[0], "s"); } except { exit; }
  if (a == 0) ; else { a = -a; }
  ;
}
