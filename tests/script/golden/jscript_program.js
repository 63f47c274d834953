// A JavaScript-like script
import "first.js";
var a = 0x1F, b[2, 3], s = "tab\there";
function add(x, &y) {
  y += x;
  return x * (-y) % 3;
}
/* block
   comment */
if (a == b && !(a != 3) || a >= 1) a++; else { a--; }
switch (a) {
  case 1, 2: b = 1;
  case 3..5: { b = 2; break; }
  default: b = 3;
}
do a = a << 1; while (a < 100);
while (a > 0) a = a >> 1
for (i = 0; i < 10; i++) s = s + i;
for (i = 0; i < 1; ) break;
try { o = new TStringList; } finally { delete o; }
with (o) Clear();
x = &add;
