#include "app/Game.h"

int main(int argc, char** argv) { return velorun::runGame(argc, argv); }
