# Sieve of Eratosthenes: the number of primes up to N.
def main(n):
    flags = [True] * (n + 1)
    count = 0
    for i in range(2, n + 1):
        if flags[i]:
            count += 1
            j = i + i
            while j <= n:
                flags[j] = False
                j += i
    return count

print(main(@N@))
