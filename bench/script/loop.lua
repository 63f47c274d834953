-- Integer loop: a running sum kept below a prime.
local s = 0
for i = 1, @N@ do
  s = (s + i * 7) % 1000003
end
print(s)
