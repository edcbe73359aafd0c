#include "shell/Main.hpp"

int main() {
    Main();
    EndProgram();
}
