#include "app/globals.h"

int gScreenWidth = 1024;
int gScreenHeight = 768;
Font* gFont = 0;
