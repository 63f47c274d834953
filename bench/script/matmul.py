# Product of two N x N matrices of integers; the checksum is the sum of
# the product's elements modulo a prime.
def main(n):
    a = [[(i + j) % 7 for j in range(n)] for i in range(n)]
    b = [[(i * j) % 5 for j in range(n)] for i in range(n)]
    c = [[0] * n for _ in range(n)]
    for i in range(n):
        for j in range(n):
            s = 0
            for k in range(n):
                s = s + a[i][k] * b[k][j]
            c[i][j] = s
    total = 0
    for i in range(n):
        for j in range(n):
            total = (total + c[i][j]) % 1000003
    return total

print(main(@N@))
