# Integer loop: a running sum kept below a prime.
def main(n):
    s = 0
    for i in range(1, n + 1):
        s = (s + i * 7) % 1000003
    return s

print(main(@N@))
