-- Product of two N x N matrices of integers; the checksum is the sum of
-- the product's elements modulo a prime.
local n = @N@
local a, b, c = {}, {}, {}
for i = 0, n - 1 do
  a[i], b[i], c[i] = {}, {}, {}
  for j = 0, n - 1 do
    a[i][j] = (i + j) % 7
    b[i][j] = (i * j) % 5
  end
end
for i = 0, n - 1 do
  for j = 0, n - 1 do
    local s = 0
    for k = 0, n - 1 do
      s = s + a[i][k] * b[k][j]
    end
    c[i][j] = s
  end
end
local total = 0
for i = 0, n - 1 do
  for j = 0, n - 1 do
    total = (total + c[i][j]) % 1000003
  end
end
print(total)
