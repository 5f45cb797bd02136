#pragma once

// Starts the whole program: the one command-line argument is the settings base folder. Tests call it too.
int quorvaneMain(int argc, char** argv);
