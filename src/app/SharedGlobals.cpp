#include "app/SharedGlobals.h"

int selectedListItem_g = -1;

double dlgScaleFactor_g = 0.0;
double dlgScaleFactorMax_g = 0.0;
int globalWindowRedraw_g = 0;
