-- Sieve of Eratosthenes: the number of primes up to N.
local n = @N@
local flags = {}
for i = 0, n do flags[i] = true end
local count = 0
for i = 2, n do
  if flags[i] then
    count = count + 1
    local j = i + i
    while j <= n do
      flags[j] = false
      j = j + i
    end
  end
end
print(count)
