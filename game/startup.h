// game/startup.h: the program's start-up functions, called by the entry point (main/main.cpp).
//
// zkInit gives every module global its start value and registers the object globals as collector roots,
// module by module in a fixed order (app, graphics, audio, input, game, async events, random numbers).
// zkMain creates the one application, a c_MyApp, and registers it with the framework.
#pragma once

void zkInit();
int zkMain();
