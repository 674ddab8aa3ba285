#include "launch/RunGame.h"

int main(int argc, char** argv) { return velorun::runGame(argc, argv); }
