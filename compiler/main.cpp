// cvork2: compiles temp.VRK in the current directory.
int main() { return 0; }
