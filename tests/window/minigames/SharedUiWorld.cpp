// The UI test world (settings, events, render core, UI manager) built into this program too.
#include "window/ui/UiWorld.cpp"
