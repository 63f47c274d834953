var shared = 1;
