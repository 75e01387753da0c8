// The world tests' rendering setting, shared rather than copied.
#include "window/world/WorldWindow.cpp"
