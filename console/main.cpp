// Placeholder until the console program lands.
int main() { return 1; }
