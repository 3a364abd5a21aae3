// A program that carries the application's resources and nothing else: the
// 32-bit build cannot run Windows programs here, so its resources are
// inspected in a built file.
int main() { return 0; }
